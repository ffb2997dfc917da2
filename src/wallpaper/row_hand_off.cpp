#include "wallpaper/row_hand_off.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "codecs/image_error.h"

namespace kv {

RowBlockHandOff::RowBlockHandOff(int rowBytes, int height, Producer produce, bool ownThread)
    : height_(std::max(height, 0)),
      produce_(std::move(produce)),
      blocks_(static_cast<std::size_t>(ownThread ? kBlocks : 1)) {
  const auto stride = static_cast<std::size_t>(std::max(rowBytes, 0));
  for (Block& block : blocks_) {
    block.bytes.resize(stride * kRowsPerBlock + kResampleRowSlack);
    for (std::size_t k = 0; k < kRowsPerBlock; ++k)
      block.rows.push_back(block.bytes.data() + k * stride);
  }
  if (!ownThread) return;
  for (int b = 0; b < kBlocks; ++b) free_.push_back(b);
  try {
    thread_ = std::thread([this] { Produce(); });
  } catch (const std::system_error&) {
    blocks_.resize(1);  // no thread to be had: made on demand instead
    free_.clear();
  }
}

RowBlockHandOff::~RowBlockHandOff() {
  if (!thread_.joinable()) return;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  spaceFree_.notify_all();
  thread_.join();
}

const std::uint8_t* RowBlockHandOff::Row(int r) {
  while (current_ < 0 || r >= blocks_[static_cast<std::size_t>(current_)].first +
                                  blocks_[static_cast<std::size_t>(current_)].count)
    NextBlock();
  const Block& block = blocks_[static_cast<std::size_t>(current_)];
  return block.rows[static_cast<std::size_t>(r - block.first)];
}

void RowBlockHandOff::Drain() {
  if (height_ > 0) (void)Row(height_ - 1);
}

void RowBlockHandOff::NextBlock() {
  if (!thread_.joinable()) {
    Block& block = blocks_.front();
    const int count = produced_ < height_ ? produce_(block.rows.data(),
                                                     std::min(kRowsPerBlock, height_ - produced_))
                                          : 0;
    if (count <= 0) throw ImageError("the picture ends before its last row");
    current_ = 0;
    block.first = produced_;
    block.count = count;
    produced_ += count;
    return;
  }
  std::unique_lock<std::mutex> lock(mutex_);
  if (current_ >= 0) {
    free_.push_back(std::exchange(current_, -1));
    spaceFree_.notify_one();
  }
  blockReady_.wait(lock, [this] { return !ready_.empty() || finished_; });
  if (ready_.empty()) {
    if (failure_) std::rethrow_exception(failure_);
    throw ImageError("the picture ends before its last row");
  }
  current_ = ready_.front();
  ready_.pop_front();
}

void RowBlockHandOff::Produce() {
  int next = 0;
  while (next < height_) {
    int b;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      spaceFree_.wait(lock, [this] { return stop_ || !free_.empty(); });
      if (stop_) return;
      b = free_.front();
      free_.pop_front();
    }
    Block& block = blocks_[static_cast<std::size_t>(b)];
    const int wanted = std::min(kRowsPerBlock, height_ - next);
    int count = 0;
    std::exception_ptr failure;
    try {
      count = produce_(block.rows.data(), wanted);
    } catch (...) {
      failure = std::current_exception();
    }
    block.first = next;
    block.count = count;
    next += count;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      if (count > 0) ready_.push_back(b);
      if (failure || count < wanted) {
        failure_ = failure;
        finished_ = true;
      }
    }
    blockReady_.notify_one();
    if (failure || count < wanted) return;
  }
  const std::lock_guard<std::mutex> lock(mutex_);
  finished_ = true;
  blockReady_.notify_one();
}

}  // namespace kv
