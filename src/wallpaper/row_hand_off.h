#pragma once
// Rows of a picture made by a producer (a decoder) in blocks of a few rows and
// taken by the resampler in order. On a thread of its own the producer runs at
// most a few blocks ahead of the resampler, so the two work at once while the
// memory stays at those few blocks; without one, each block is made on the
// calling thread when the resampler reaches it.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "wallpaper/resample.h"

namespace kv {

class RowBlockHandOff final : public ResampleRowSource {
 public:
  // Writes the next rows into rows[0] ... rows[count - 1] and returns how many
  // it wrote, fewer than count only when the picture has no more; a failure
  // is an exception.
  using Producer = std::function<int(std::uint8_t* const* rows, int count)>;

  inline static constexpr int kRowsPerBlock = 16;
  inline static constexpr int kBlocks = 4;

  // A picture of `height` rows of `rowBytes` bytes each. With ownThread the
  // producer starts at once on its own thread (on the calling thread after all
  // when no thread can be made).
  RowBlockHandOff(int rowBytes, int height, Producer produce, bool ownThread);
  RowBlockHandOff(const RowBlockHandOff&) = delete;
  RowBlockHandOff& operator=(const RowBlockHandOff&) = delete;
  // Stops the producer's thread after the block it is making, and waits for it.
  ~RowBlockHandOff();

  // Row r, readable kResampleRowSlack bytes past its end; r never below the
  // rows asked for before. Raises the producer's failure when that comes
  // before row r, and ImageError when the producer ends before row r.
  const std::uint8_t* Row(int r) override;
  // Takes the remaining rows, so that a failure in any of them is raised.
  void Drain();

 private:
  struct Block {
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint8_t*> rows;
    int first = 0;  // the picture row of rows[0]
    int count = 0;
  };

  void NextBlock();
  void Produce();  // the producer's thread

  int height_;
  Producer produce_;
  std::vector<Block> blocks_;
  int current_ = -1;  // the block the resampler reads, or none yet
  int produced_ = 0;  // rows made so far, without a thread

  std::mutex mutex_;
  std::condition_variable spaceFree_, blockReady_;
  std::deque<int> free_, ready_;  // block numbers
  bool finished_ = false;         // the producer made its last block, or failed
  bool stop_ = false;             // the resampler gives up
  std::exception_ptr failure_;
  std::thread thread_;
};

}  // namespace kv
