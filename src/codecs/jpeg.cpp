// JPEG reading and writing through libjpeg(-turbo). Errors long-jump out of the
// library (see longjmp_guard.h). Reading is row by row (JpegRowReader), from
// memory or from a file read in pieces.
// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <algorithm>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "codecs/decoders.h"
#include "codecs/encoders.h"
#include "codecs/exif_orientation.h"
#include "codecs/file_io.h"
#include "codecs/image_file.h"
#include "codecs/jpeg_reader.h"
#include "codecs/longjmp_guard.h"

namespace kv {
namespace {

// Progressive files can carry thousands of tiny scans that each cost a pass over
// the whole coefficient buffer; real files have a dozen.
constexpr int kMaxScans = 1000;
// Memory libjpeg may take besides our bitmap (the whole-image coefficient buffer
// of a progressive file of the largest allowed size fits).
constexpr long kMaxLibraryMemory = 640L * 1024 * 1024;

struct ErrorManager {
  jpeg_error_mgr pub;  // first: libjpeg sees only this part
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool ranOut;  // the data ended and the library made up an end marker
};

[[noreturn]] void JumpWith(j_common_ptr cinfo, const char* text) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  std::snprintf(err->message, sizeof err->message, "%s", text);
  std::longjmp(err->jump, 1);
}

void OnError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Warnings about damaged data are ignored (real files often have stray bytes
// between markers), except running out of data inside a scan: the library would
// make up the rest of the picture in grey. Running out between scans only loses
// the end marker (which some cameras leave off) or a progressive file's last
// refinements, and the picture is whole.
void OnMessage(j_common_ptr cinfo, int level) {
  if (level != -1) return;
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  if (cinfo->err->msg_code == JWRN_JPEG_EOF)
    err->ranOut = true;
  else if (cinfo->err->msg_code == JWRN_HIT_MARKER && err->ranOut)
    JumpWith(cinfo, "the file ends early");
}

void OnProgress(j_common_ptr cinfo) {
  if (cinfo->is_decompressor &&
      reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
    JumpWith(cinfo, "the file has too many scans");
}

void InitErrors(ErrorManager& err) {
  jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  err.pub.emit_message = OnMessage;
  err.message[0] = '\0';
  err.ranOut = false;
}

class Decompressor {
 public:
  Decompressor() {
    InitErrors(err_);
    info_.err = &err_.pub;
    progress_.progress_monitor = OnProgress;
    Run([this] { jpeg_create_decompress(&info_); });
    created_ = true;
    info_.progress = &progress_;
    info_.mem->max_memory_to_use = kMaxLibraryMemory;
  }
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;
  ~Decompressor() {
    if (created_) jpeg_destroy_decompress(&info_);
  }

  jpeg_decompress_struct& info() noexcept { return info_; }
  // Where a callback of ours keeps an exception that may not cross the
  // library's frames, to be raised again after the jump.
  std::exception_ptr& failure() noexcept { return failure_; }

  template <typename Step>
  void Run(Step&& step) {
    if (Guarded(err_.jump, std::forward<Step>(step))) return;
    if (failure_) std::rethrow_exception(failure_);
    throw ImageError(err_.message);
  }

 private:
  std::exception_ptr failure_;
  ErrorManager err_{};
  jpeg_progress_mgr progress_{};
  jpeg_decompress_struct info_{};
  bool created_ = false;
};

// The smallest eighth-scale (libjpeg's DCT scaling, N/8 for N = 1..8) whose
// width is still at least minWidth.
unsigned ScaleNumerator(unsigned width, int minWidth) {
  if (minWidth <= 0) return 8;
  for (unsigned n = 1; n < 8; ++n)
    if ((static_cast<std::uint64_t>(width) * n + 7) / 8 >= static_cast<unsigned>(minWidth))
      return n;
  return 8;
}

// CMYK as Photoshop writes it: the values are stored inverted (255 = no ink),
// which the Adobe marker says. Without that marker they are plain ink amounts.
void CmykRow(const std::uint8_t* cmyk, std::uint8_t* bgr, unsigned width, bool inverted) {
  for (unsigned x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    bgr[0] = static_cast<std::uint8_t>((y * k + 127) / 255);
    bgr[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
    bgr[2] = static_cast<std::uint8_t>((c * k + 127) / 255);
  }
}

int ReadOrientation(const jpeg_decompress_struct& info) {
  for (jpeg_saved_marker_ptr m = info.marker_list; m; m = m->next)
    if (m->marker == JPEG_APP0 + 1) {
      const int o = ExifOrientation(m->data, m->data_length);
      if (o != 0) return o;
    }
  return 1;
}

// The file source: the file is read in pieces of this size.
constexpr std::size_t kFilePiece = 64 * 1024;

struct FileSource {
  jpeg_source_mgr pub;  // first: libjpeg sees only this part
  FileReader* file;
  std::uint8_t* buffer;  // kFilePiece bytes
  std::exception_ptr* failure;
};

// The next piece of the file; false, with the failure kept, when reading fails.
bool ReadPiece(FileSource& source, std::size_t& got) noexcept {
  try {
    got = source.file->Read(source.buffer, kFilePiece);
    return true;
  } catch (...) {
    *source.failure = std::current_exception();
    return false;
  }
}

// At the end of the file it does what the library's memory source does (a
// warning and a made-up end marker), so that a file and its bytes in memory
// decode alike, down to the errors.
boolean FillFromFile(j_decompress_ptr cinfo) {
  static const JOCTET kEnd[2] = {0xFF, JPEG_EOI};
  auto* source = reinterpret_cast<FileSource*>(cinfo->src);
  std::size_t got = 0;
  if (!ReadPiece(*source, got)) ERREXIT(cinfo, JERR_FILE_READ);
  if (got == 0) {
    WARNMS(cinfo, JWRN_JPEG_EOF);
    source->pub.next_input_byte = kEnd;
    source->pub.bytes_in_buffer = sizeof kEnd;
  } else {
    source->pub.next_input_byte = source->buffer;
    source->pub.bytes_in_buffer = got;
  }
  return TRUE;
}

void SkipInFile(j_decompress_ptr cinfo, long count) {
  jpeg_source_mgr* source = cinfo->src;
  if (count <= 0) return;
  while (count > static_cast<long>(source->bytes_in_buffer)) {
    count -= static_cast<long>(source->bytes_in_buffer);
    (void)FillFromFile(cinfo);
  }
  source->next_input_byte += count;
  source->bytes_in_buffer -= static_cast<std::size_t>(count);
}

void NoSourceStep(j_decompress_ptr) {}

// Fills the compressor's output into a vector. Growing the vector may fail; that
// becomes libjpeg's out-of-memory error rather than an exception in C frames.
struct VectorDestination {
  jpeg_destination_mgr pub;  // first
  std::vector<std::uint8_t>* out;
};

bool GrowTo(j_compress_ptr cinfo, std::size_t size) {
  auto* d = reinterpret_cast<VectorDestination*>(cinfo->dest);
  const std::size_t used = d->out->size() - d->pub.free_in_buffer;
  bool ok = true;
  try {
    d->out->resize(size);
  } catch (...) {
    ok = false;
  }
  if (!ok) return false;
  d->pub.next_output_byte = d->out->data() + used;
  d->pub.free_in_buffer = d->out->size() - used;
  return true;
}

void DestinationInit(j_compress_ptr cinfo) {
  auto* d = reinterpret_cast<VectorDestination*>(cinfo->dest);
  d->pub.free_in_buffer = d->out->size();  // nothing used yet
  if (!GrowTo(cinfo, std::max<std::size_t>(d->out->capacity(), 64 * 1024)))
    ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 1);
}

boolean DestinationEmpty(j_compress_ptr cinfo) {
  auto* d = reinterpret_cast<VectorDestination*>(cinfo->dest);
  // The library calls this with the whole buffer used.
  d->pub.free_in_buffer = 0;
  if (!GrowTo(cinfo, d->out->size() * 2)) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 2);
  return TRUE;
}

void DestinationTerm(j_compress_ptr cinfo) {
  auto* d = reinterpret_cast<VectorDestination*>(cinfo->dest);
  d->out->resize(d->out->size() - d->pub.free_in_buffer);
}

}  // namespace

struct JpegRowReader::State {
  Decompressor d;
  std::optional<FileReader> file;
  std::vector<std::uint8_t> piece;  // the file source's buffer
  FileSource source{};
  std::string fileName;  // named in errors; empty for bytes in memory
  int orientation = 1;
  bool cmyk = false;
  bool inverted = false;           // CMYK stored as Photoshop stores it
  std::vector<std::uint8_t> inks;  // one CMYK row

  void Start(int minWidth) {
    jpeg_decompress_struct& info = d.info();
    d.Run([&] {
      jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
      jpeg_read_header(&info, TRUE);
    });
    CheckImageSize(info.image_width, info.image_height);
    orientation = ReadOrientation(info);
    cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    // A picture turned on its side gets its displayed width from its height.
    info.scale_num = ScaleNumerator(
        OrientationSwapsSides(orientation) ? info.image_height : info.image_width, minWidth);
    info.scale_denom = 8;
    d.Run([&] { jpeg_start_decompress(&info); });
    if (cmyk) {
      inverted = info.saw_Adobe_marker;
      inks.resize(static_cast<std::size_t>(info.output_width) * 4);
    }
  }

  int Read(std::uint8_t* const* rows, int count) {
    jpeg_decompress_struct& info = d.info();
    int done = 0;
    if (!cmyk) {
      // Straight into the caller's rows.
      bool stalled = false;
      d.Run([&] {
        while (done < count && info.output_scanline < info.output_height && !stalled) {
          const JDIMENSION got = jpeg_read_scanlines(&info, const_cast<JSAMPARRAY>(rows + done),
                                                     static_cast<JDIMENSION>(count - done));
          stalled = got == 0;
          done += static_cast<int>(got);
        }
      });
      if (stalled) throw ImageError("the file ends early");
      return done;
    }
    for (; done < count && info.output_scanline < info.output_height; ++done) {
      JSAMPROW row = inks.data();
      JDIMENSION got = 0;
      d.Run([&] { got = jpeg_read_scanlines(&info, &row, 1); });
      if (got != 1) throw ImageError("the file ends early");
      CmykRow(inks.data(), rows[done], info.output_width, inverted);
    }
    return done;
  }
};

JpegRowReader::JpegRowReader(const std::uint8_t* data, std::size_t size, int minWidth)
    : state_(std::make_unique<State>()) {
  if (size == 0) throw ImageError("the file is empty");
  jpeg_decompress_struct& info = state_->d.info();
  state_->d.Run([&] { jpeg_mem_src(&info, data, static_cast<unsigned long>(size)); });
  state_->Start(minWidth);
}

JpegRowReader::JpegRowReader(const std::string& fileName) {
  try {
    state_ = std::make_unique<State>();
    State& s = *state_;
    s.fileName = fileName;
    s.file.emplace(fileName);
    if (s.file->Size() == 0) throw ImageError("the file is empty");
    s.piece.resize(kFilePiece);
    s.source.file = &*s.file;
    s.source.buffer = s.piece.data();
    s.source.failure = &s.d.failure();
    s.source.pub.init_source = NoSourceStep;
    s.source.pub.fill_input_buffer = FillFromFile;
    s.source.pub.skip_input_data = SkipInFile;
    s.source.pub.resync_to_restart = jpeg_resync_to_restart;
    s.source.pub.term_source = NoSourceStep;
    s.d.info().src = &s.source.pub;
    s.Start(0);
  } catch (...) {
    RethrowNamed(fileName);
  }
}

JpegRowReader::~JpegRowReader() = default;

int JpegRowReader::Width() const noexcept {
  return static_cast<int>(state_->d.info().output_width);
}
int JpegRowReader::Height() const noexcept {
  return static_cast<int>(state_->d.info().output_height);
}
int JpegRowReader::Orientation() const noexcept { return state_->orientation; }

int JpegRowReader::ReadRows(std::uint8_t* const* rows, int count) {
  if (state_->fileName.empty()) return state_->Read(rows, count);
  try {
    return state_->Read(rows, count);
  } catch (...) {
    RethrowNamed(state_->fileName);
  }
}

Bitmap DecodeJpeg(const std::uint8_t* data, std::size_t size, int minWidth) {
  JpegRowReader reader(data, size, minWidth);
  const int height = reader.Height();
  Bitmap out(reader.Width(), height);
  std::vector<std::uint8_t*> rows(static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) rows[static_cast<std::size_t>(y)] = out.ScanLine(y);
  if (reader.ReadRows(rows.data(), height) != height) throw ImageError("the file ends early");
  // jpeg_finish_decompress is left out on purpose: it would look for the end
  // marker, which some cameras leave off, and the picture is complete already.
  return ApplyOrientation(std::move(out), reader.Orientation());
}

Bitmap DecodeJpeg(const std::uint8_t* data, std::size_t size) { return DecodeJpeg(data, size, 0); }

std::vector<std::uint8_t> EncodeJpeg(const Bitmap& bitmap, int quality) {
  if (bitmap.Empty()) throw ImageError("an empty picture cannot be written");
  ErrorManager err{};
  InitErrors(err);
  jpeg_compress_struct info{};
  info.err = &err.pub;
  std::vector<std::uint8_t> out;
  out.reserve(std::max<std::size_t>(bitmap.SizeBytes() / 8, 64 * 1024));
  VectorDestination dest{};
  dest.out = &out;
  dest.pub.init_destination = DestinationInit;
  dest.pub.empty_output_buffer = DestinationEmpty;
  dest.pub.term_destination = DestinationTerm;
  std::vector<JSAMPROW> rows(static_cast<std::size_t>(bitmap.Height()));
  for (int y = 0; y < bitmap.Height(); ++y)
    rows[static_cast<std::size_t>(y)] = const_cast<JSAMPROW>(bitmap.ScanLine(y));

  bool created = false;
  const bool ok = Guarded(err.jump, [&] {
    jpeg_create_compress(&info);
    created = true;
    info.dest = &dest.pub;
    info.image_width = static_cast<JDIMENSION>(bitmap.Width());
    info.image_height = static_cast<JDIMENSION>(bitmap.Height());
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    // The thumbnail rule: 100 keeps the library's default quality.
    if (quality < kJpegKeepDefaultQuality) jpeg_set_quality(&info, std::max(quality, 1), TRUE);
    jpeg_start_compress(&info, TRUE);
    jpeg_write_scanlines(&info, rows.data(), static_cast<JDIMENSION>(rows.size()));
    jpeg_finish_compress(&info);
  });
  if (created) jpeg_destroy_compress(&info);
  if (!ok) throw ImageError(std::string("JPEG writing failed: ") + err.message);
  return out;
}

void SaveJpeg(const Bitmap& bitmap, int quality, const std::string& path) {
  const std::vector<std::uint8_t> bytes = EncodeJpeg(bitmap, quality);
  WriteFileAtomic(path, bytes.data(), bytes.size());
}

}  // namespace kv
