#include "map/picture_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "common/file_error.h"
#include "common/utf8_path.h"
#include "files/mission_stamp.h"
#include "files/platform_files.h"
#include "map/jpeg_table_scan.h"
#include "map/picture_file_reader.h"
#include "map/picture_header.h"
#include "map/plain_png.h"
#include "map/stb_image_library.h"

namespace bosquell {
namespace {

// stb_image reads through these; a read never asks for more than an int's worth.
int ReadForDecoder(void* reader, char* data, int size) {
  return static_cast<int>(
      static_cast<PictureFileReader*>(reader)->Read(data, static_cast<std::size_t>(size)));
}
void SkipForDecoder(void* reader, int count) {
  if (count > 0) static_cast<PictureFileReader*>(reader)->Skip(static_cast<std::uint64_t>(count));
}
int EndForDecoder(void* reader) {
  return static_cast<PictureFileReader*>(reader)->AtEnd();
}
constexpr stbi_io_callbacks kCallbacks = {ReadForDecoder, SkipForDecoder, EndForDecoder};

std::string SizeText(std::uint64_t width, std::uint64_t height) {
  return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

std::string OpenProblem(const std::error_code& error) {
  if (error == std::errc::no_such_file_or_directory) return "the file does not exist";
  if (error == FileError::kDirectory) return "it is a folder, not a picture";
  if (error == FileError::kNotRegularFile) return "it is a device, a pipe or a socket";
  return "it cannot be opened: " + error.message();
}

std::string TooLarge(std::uint64_t width, std::uint64_t height) {
  return "it is " + SizeText(width, height) + ", more than the map takes: at most " +
         std::to_string(kMostPicturePixels) + " pixels (8192 x 8192), at most " +
         std::to_string(kLongestPictureSide) + " on a side";
}

std::string SizeProblem(std::uint64_t width, std::uint64_t height) {
  if (width == 0 || height == 0) return "it has no pixels";
  if (width > kLongestPictureSide || height > kLongestPictureSide ||
      width * height > kMostPicturePixels) {
    return TooLarge(width, height);
  }
  return {};
}

// Walks the whole JPEG file for its Huffman tables; false when one would overrun the decoder.
bool JpegTablesFit(PictureFileReader& reader) {
  JpegTableScan scan;
  std::vector<std::uint8_t> piece(64 * 1024);
  while (!scan.Done()) {
    const std::size_t got = reader.Read(reinterpret_cast<char*>(piece.data()), piece.size());
    if (got == 0) break;
    scan.Feed(piece.data(), got);
  }
  return !scan.BadTable();
}

// Lays pixels with alpha on white, in place: four bytes a pixel become three.
void LayOnWhite(std::uint8_t* pixels, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* from = pixels + 4 * i;
    const int alpha = from[3];
    std::array<std::uint8_t, 3> laid{};
    for (int channel = 0; channel < 3; ++channel) {
      laid[channel] =
          static_cast<std::uint8_t>((from[channel] * alpha + 255 * (255 - alpha) + 127) / 255);
    }
    std::memcpy(pixels + 3 * i, laid.data(), 3);
  }
}

// The first bytes of a file and the format they announce.
struct PictureLead {
  std::array<std::uint8_t, 64> bytes{};
  std::span<const std::uint8_t> leading;
  std::optional<PictureFormat> format;
};

// Reads the lead; why it shows no picture the map takes, or empty.
std::string ReadLead(PictureFileReader& reader, PictureLead& lead) {
  const std::size_t count =
      reader.Read(reinterpret_cast<char*>(lead.bytes.data()), lead.bytes.size());
  if (reader.Error()) return "it cannot be read: " + reader.Error().message();
  lead.leading = std::span<const std::uint8_t>(lead.bytes.data(), count);
  lead.format = PictureFormatOf(lead.leading);
  if (!lead.format) return "it is not a PNG, JPEG or BMP picture";
  if (const std::optional<PictureSize> size = PictureSizeInLead(*lead.format, lead.leading)) {
    return SizeProblem(size->width, size->height);
  }
  return {};
}

// The pixels, or why not, without the file's name.
DecodedPicture Decode(std::string_view utf8Path) {
  DecodedPicture decoded;
  const auto refuse = [&](std::string why) {
    decoded.problem = std::move(why);
    return std::move(decoded);
  };

  std::error_code error;
  const NativeFile file = OpenRegularFileForReading(PathFromUtf8(utf8Path), error);
  if (!file.IsOpen()) return refuse(OpenProblem(error));
  PictureFileReader reader(file);
  const auto readProblem = [&] { return "it cannot be read: " + reader.Error().message(); };

  PictureLead lead;
  if (std::string why = ReadLead(reader, lead); !why.empty()) return refuse(why);
  const std::span<const std::uint8_t> leading = lead.leading;
  const std::optional<PictureFormat> format = lead.format;
  if (*format == PictureFormat::kJpeg) {
    if (!reader.Restart()) return refuse(readProblem());
    const bool tablesFit = JpegTablesFit(reader);
    if (reader.Error()) return refuse(readProblem());
    if (!tablesFit) return refuse("it is damaged (bad Huffman table)");
  }
  int width = 0;
  int height = 0;
  int channels = 0;
  if (!reader.Restart()) return refuse(readProblem());
  if (!stbi_info_from_callbacks(&kCallbacks, &reader, &width, &height, &channels)) {
    if (reader.Error()) return refuse(readProblem());
    return refuse("it is damaged: its header cannot be read");
  }
  const auto w = static_cast<std::uint64_t>(std::max(width, 0));
  const auto h = static_cast<std::uint64_t>(std::max(height, 0));
  if (std::string why = SizeProblem(w, h); !why.empty()) return refuse(why);
  if (StampOf(file).size < LeastPictureFileBytes(*format, leading, width, height)) {
    return refuse("the file is too short for the " + SizeText(w, h) +
                  " its header claims: it is cut short or its header is wrong");
  }

  if (*format == PictureFormat::kPng) {
    std::optional<PlainPngPixels> plain = DecodePlainPng(reader, width, height, StampOf(file).size);
    if (plain && !plain->problem.empty()) return refuse(std::move(plain->problem));
    if (plain) {
      decoded.width = width;
      decoded.height = height;
      decoded.rgb = std::move(plain->rgb);
      return decoded;
    }
  }

  // Transparent parts are laid on white once here, so that the map keeps three bytes a pixel.
  const bool alpha = channels == 2 || channels == 4;
  if (!reader.Restart()) return refuse(readProblem());
  MallocBytes pixels(
      stbi_load_from_callbacks(&kCallbacks, &reader, &width, &height, &channels, alpha ? 4 : 3));
  if (reader.Error()) return refuse(readProblem());
  if (reader.WentPastEnd()) return refuse("it is cut short");
  if (!pixels) {
    const char* reason = stbi_failure_reason();
    const std::string why = reason != nullptr ? reason : "no reason given";
    if (why == "outofmem") return refuse("there is not enough memory for its " + SizeText(w, h));
    // A piece asked for at the very end of the file comes back short without the reader
    // knowing whether more was meant to follow.
    if (reader.AtEnd()) return refuse("it is cut short or damaged (" + why + ")");
    return refuse("it is damaged (" + why + ")");
  }
  if (static_cast<std::uint64_t>(width) != w || static_cast<std::uint64_t>(height) != h) {
    return refuse("it is damaged: its size changed while it was read");
  }
  if (alpha) {
    LayOnWhite(pixels.get(), w * h);
    // Give back the fourth bytes; where the system keeps the block whole, it stays as it is.
    if (void* smaller = std::realloc(pixels.get(), w * h * 3)) {
      (void)pixels.release();
      pixels.reset(static_cast<std::uint8_t*>(smaller));
    }
  }
  decoded.width = width;
  decoded.height = height;
  decoded.rgb = std::move(pixels);
  return decoded;
}

constexpr std::string_view kNoMemory = "there is not enough memory for the picture";

std::string Naming(std::string_view utf8Path, std::string_view problem) {
  return std::string(utf8Path) + ": " + std::string(problem);
}

}  // namespace

DecodedPicture DecodePicture(std::string_view utf8Path) {
  DecodedPicture decoded;
  try {
    decoded = Decode(utf8Path);
  } catch (const std::bad_alloc&) {
    decoded = {};
    decoded.problem = kNoMemory;
  }
  if (!decoded.problem.empty()) decoded.problem = Naming(utf8Path, decoded.problem);
  return decoded;
}

std::string PictureFileProblem(std::string_view utf8Path) {
  try {
    std::error_code error;
    const NativeFile file = OpenRegularFileForReading(PathFromUtf8(utf8Path), error);
    if (!file.IsOpen()) return Naming(utf8Path, OpenProblem(error));
    PictureFileReader reader(file);
    PictureLead lead;
    const std::string why = ReadLead(reader, lead);
    return why.empty() ? why : Naming(utf8Path, why);
  } catch (const std::bad_alloc&) {
    return Naming(utf8Path, kNoMemory);
  }
}

PictureReading ReadBackgroundPicture(std::string_view utf8Path) {
  PictureReading reading;
  DecodedPicture decoded = DecodePicture(utf8Path);
  if (!decoded.rgb) {
    reading.problem = std::move(decoded.problem);
    return reading;
  }
  try {
    reading.picture.emplace(decoded.width, decoded.height, std::move(decoded.rgb));
  } catch (const std::bad_alloc&) {
    reading.problem = Naming(utf8Path, kNoMemory);
  }
  return reading;
}

}  // namespace bosquell
