#include "map/plain_png.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "map/batch_worker.h"
#include "map/png_row_filter.h"

namespace bosquell {
namespace {

constexpr std::size_t kBytesPerPixel = 3;
// The compressed data is read, and the rows are inflated and unfiltered, a piece at a time, in
// pieces small enough to stay in the processor's cache in between.
constexpr std::size_t kInputBytes = 128 * 1024;
constexpr std::size_t kBatchBytes = 256 * 1024;

std::uint32_t BigEndian(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
         static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
}

PlainPngPixels Refused(std::string why) {
  return {nullptr, std::move(why)};
}

// The data of the IDAT chunks, one piece after another as the file holds them; every other chunk
// is skipped. No chunk may reach past the file's end: a length that does is damage, and is never
// waited for.
class IdatData {
 public:
  // `position` is where the reader stands: at the head of the chunk after IHDR.
  IdatData(PictureFileReader& reader, std::uint64_t position, std::uint64_t fileSize)
      : reader_(reader), position_(position), fileSize_(fileSize) {}

  // Copies up to `room` bytes of data; 0 once IEND comes, or on a problem.
  std::size_t Read(std::uint8_t* to, std::size_t room) {
    while (left_ == 0) {
      if (!NextIdat()) return 0;
    }
    const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(left_, room));
    if (reader_.Read(reinterpret_cast<char*>(to), size) != size) {
      Fail("it is cut short");
      return 0;
    }
    left_ -= size;
    position_ += size;
    if (left_ == 0) SkipChecksum();
    return size;
  }

  // Walks the chunks after the data, up to IEND, so that a file cut short there is refused too;
  // data after the end of the zlib stream is passed over.
  void ReadToEnd() {
    do {
      reader_.Skip(left_);
      position_ += left_;
      if (left_ > 0) SkipChecksum();
      left_ = 0;
    } while (NextIdat());
    if (problem_.empty() && reader_.Error()) Fail({});
  }

  // Why the data cannot be read; empty when it can.
  const std::string& Problem() const { return problem_; }

 private:
  // Moves to the data of the next IDAT chunk; false at IEND or on a problem.
  bool NextIdat() {
    while (problem_.empty()) {
      std::array<std::uint8_t, 8> head{};
      if (reader_.Read(reinterpret_cast<char*>(head.data()), head.size()) != head.size()) {
        Fail("it is cut short");
        return false;
      }
      position_ += head.size();
      const std::uint64_t length = BigEndian(head.data());
      if (std::memcmp(head.data() + 4, "IEND", 4) == 0) return false;
      if (position_ > fileSize_ || length + 4 > fileSize_ - position_) {
        Fail("it is cut short or damaged (a chunk longer than the file)");
        return false;
      }
      if (std::memcmp(head.data() + 4, "IDAT", 4) == 0 && length > 0) {
        left_ = length;
        return true;
      }
      reader_.Skip(length + 4);  // the chunk and its checksum
      position_ += length + 4;
      if (reader_.Error()) Fail({});
    }
    return false;
  }

  void SkipChecksum() {
    reader_.Skip(4);
    position_ += 4;
  }

  // Notes why reading stopped: a failed read before all else.
  void Fail(std::string why) {
    problem_ = reader_.Error() ? "it cannot be read: " + reader_.Error().message() : std::move(why);
  }

  PictureFileReader& reader_;
  std::uint64_t position_;
  std::uint64_t fileSize_;
  std::uint64_t left_ = 0;  // of the current IDAT chunk's data
  std::string problem_;
};

// zlib's inflate state, ended however the decoding ends.
class Inflater {
 public:
  Inflater() : ready_(inflateInit(&stream_) == Z_OK) {}
  ~Inflater() {
    if (ready_) inflateEnd(&stream_);
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;

  bool Ready() const { return ready_; }
  z_stream& Stream() { return stream_; }

 private:
  z_stream stream_{};
  bool ready_;
};

constexpr std::string_view kNoMemory = "there is not enough memory for the picture";

// zlib's reason, when it gives one.
std::string Damaged(const z_stream& stream) {
  return std::string("it is damaged (") +
         (stream.msg != nullptr ? stream.msg : "its compressed data is broken") + ")";
}

// Where the rows go once inflated: each is unfiltered from the batch it was inflated into
// straight to its place in the picture.
class RowSink {
 public:
  RowSink(std::size_t stride, std::size_t rows) : stride_(stride), rows_(rows), zeros_(stride) {}

  // Unfilters `count` whole rows, each a filter byte and the row; false, with the reason kept,
  // when they cannot be.
  bool Take(const std::uint8_t* batch, std::size_t count) {
    // The picture's block is taken only once its data has begun to inflate as it should.
    if (!pixels_) {
      pixels_.reset(static_cast<std::uint8_t*>(std::malloc(rows_ * stride_)));
      if (!pixels_) return Fail(kNoMemory);
    }
    for (std::size_t i = 0; i < count; ++i, ++done_, batch += stride_ + 1) {
      std::uint8_t* row = pixels_.get() + done_ * stride_;
      const std::uint8_t* prior = done_ == 0 ? zeros_.data() : row - stride_;
      if (!UnfilterRgbRow(batch[0], batch + 1, prior, row, stride_)) {
        return Fail("it is damaged (bad filter method)");
      }
    }
    return true;
  }

  // Why the rows could not be taken.
  std::string Problem() const { return problem_.empty() ? std::string(kNoMemory) : problem_; }
  MallocBytes Pixels() { return std::move(pixels_); }

 private:
  bool Fail(std::string_view why) {
    problem_ = why;
    return false;
  }

  std::size_t stride_;
  std::size_t rows_;
  std::vector<std::uint8_t> zeros_;  // the row above the first
  std::size_t done_ = 0;
  MallocBytes pixels_;
  std::string problem_;
};

// Inflates the rows from the IDAT data a batch at a time, while the batch before is unfiltered on
// a second thread: inflating takes most of the time, and the unfiltering and the picture's fresh
// pages are then off its way. The data must end its zlib stream, checksum and all, exactly after
// the last row.
PlainPngPixels InflateRows(IdatData& data, std::size_t stride, std::size_t rows) {
  Inflater inflater;
  if (!inflater.Ready()) return Refused(std::string(kNoMemory));
  z_stream& stream = inflater.Stream();
  const std::size_t rowBytes = stride + 1;  // a filter byte before each row
  const std::size_t batchRows = std::clamp<std::size_t>(kBatchBytes / rowBytes, 1, rows);
  std::vector<std::uint8_t> input(kInputBytes);
  // Two batches filled in turns. One byte more than the last batch's rows: a stream that fills it
  // runs past the last row.
  std::array<std::vector<std::uint8_t>, 2> batches;
  for (std::vector<std::uint8_t>& batch : batches) batch.resize(batchRows * rowBytes + 1);
  std::size_t current = 0;
  RowSink sink(stride, rows);
  // Declared after all it works on: it is destroyed, and its thread stopped, first.
  BatchWorker unfilter(
      [&sink](const std::uint8_t* batch, std::size_t count) { return sink.Take(batch, count); });
  std::size_t handed = 0;  // rows handed to be unfiltered
  std::size_t filled = 0;  // bytes of the current batch inflated
  int status = Z_OK;
  while (status != Z_STREAM_END) {
    if (stream.avail_in == 0) {
      const std::size_t got = data.Read(input.data(), input.size());
      if (!data.Problem().empty()) return Refused(data.Problem());
      if (got == 0) {
        return Refused(handed * rowBytes + filled < rows * rowBytes
                           ? "it is damaged (its data ends before its last row)"
                           : "it is damaged (its data ends before its checksum)");
      }
      stream.next_in = input.data();
      stream.avail_in = static_cast<uInt>(got);
    }
    const bool last = rows - handed <= batchRows;
    const std::size_t room = std::min(rows - handed, batchRows) * rowBytes + (last ? 1 : 0);
    std::uint8_t* batch = batches[current].data();
    stream.next_out = batch + filled;
    stream.avail_out = static_cast<uInt>(room - filled);
    status = inflate(&stream, Z_NO_FLUSH);
    if (status == Z_MEM_ERROR) return Refused(std::string(kNoMemory));
    if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) {
      return Refused(Damaged(stream));
    }
    filled = static_cast<std::size_t>(stream.next_out - batch);
    if (last && filled == room) return Refused("it is damaged (its data runs past its last row)");
    if (!last && filled == room) {
      if (!unfilter.Hand(batch, batchRows)) return Refused(sink.Problem());
      handed += batchRows;
      current = 1 - current;
      filled = 0;
    }
  }
  if (handed * rowBytes + filled < rows * rowBytes) {
    return Refused("it is damaged (its data ends before its last row)");
  }
  if (!unfilter.Hand(batches[current].data(), rows - handed) || !unfilter.Finish()) {
    return Refused(sink.Problem());
  }
  return {sink.Pixels(), {}};
}

}  // namespace

std::optional<PlainPngPixels> DecodePlainPng(PictureFileReader& reader, int width, int height,
                                             std::uint64_t fileSize) {
  // The signature, then IHDR: its length and type, width, height, depth, colour type,
  // compression, filter method and interlacing.
  std::array<std::uint8_t, 8 + 8 + 13> lead{};
  if (!reader.Restart() ||
      reader.Read(reinterpret_cast<char*>(lead.data()), lead.size()) != lead.size()) {
    return std::nullopt;
  }
  const std::uint8_t* header = lead.data() + 16;
  const bool plain = std::memcmp(lead.data() + 12, "IHDR", 4) == 0 &&
                     BigEndian(header) == static_cast<std::uint32_t>(width) &&
                     BigEndian(header + 4) == static_cast<std::uint32_t>(height) &&
                     header[8] == 8 && header[9] == 2 && header[12] == 0;
  if (!plain) return std::nullopt;
  reader.Skip(4);  // IHDR's checksum

  IdatData data(reader, lead.size() + 4, fileSize);
  PlainPngPixels pixels = InflateRows(data, static_cast<std::size_t>(width) * kBytesPerPixel,
                                      static_cast<std::size_t>(height));
  if (!pixels.problem.empty()) return pixels;
  data.ReadToEnd();
  if (!data.Problem().empty()) return Refused(data.Problem());
  return pixels;
}

}  // namespace bosquell
