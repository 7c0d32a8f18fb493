#include "core/NpyFile.h"

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "core/GridFinish.h"

namespace {

constexpr std::string_view kMagic = "\x93NUMPY";

// The array's element type: a kind (f, i or u), a size in bytes and whether its bytes
// run from the most significant.
struct TNpyType {
  char Kind = 0;
  size_t Size = 0;
  bool BigEndian = false;
};

struct TNpyHeader {
  TNpyType Type;
  bool Fortran = false;
  std::vector<uint64_t> Shape;
};

// Reads exactly size bytes, or as many as there are.
size_t ReadFully(TDataSource& in, char* buffer, size_t size) {
  size_t got = 0;
  while (got < size) {
    const size_t n = in.Read(buffer + got, size - got);
    if (n == 0) break;
    got += n;
  }
  return got;
}

// The header is a Python dict literal; only its three keys are read, each value as
// the plain text it is, never evaluated.
class THeaderText {
 public:
  THeaderText(std::string text, const std::string& name) : text_(std::move(text)), name_(name) {}

  // The text after 'key': up to the next top-level comma or closing brace.
  std::string_view Value(std::string_view key) const {
    for (const char quote : {'\'', '"'}) {
      std::string quoted(key.size() + 2, quote);
      key.copy(quoted.data() + 1, key.size());
      const size_t at = text_.find(quoted);
      if (at == std::string::npos) continue;
      size_t k = text_.find_first_not_of(' ', at + quoted.size());
      if (k == std::string::npos || text_[k] != ':') break;
      k = text_.find_first_not_of(' ', k + 1);
      if (k == std::string::npos) break;
      const size_t end = text_.find_first_of(text_[k] == '(' ? ")" : ",}", k);
      if (end == std::string::npos) break;
      return std::string_view(text_).substr(k, end - k + (text_[k] == '(' ? 1 : 0));
    }
    RefuseDataFile(name_, "its .npy header has no readable '" + std::string(key) + "'");
  }

 private:
  std::string text_;
  const std::string& name_;
};

TNpyType TypeOf(std::string_view descr, const std::string& name) {
  if (descr.size() < 2 || (descr.front() != '\'' && descr.front() != '"'))
    RefuseDataFile(name, "its .npy array is of a structured type, not of numbers");
  const std::string type(descr.substr(1, descr.size() - 2));
  if (type.find('O') != std::string::npos)
    RefuseDataFile(name, "its .npy array holds Python objects, which are never read");
  TNpyType t;
  size_t k = 0;
  if (k < type.size() && (type[k] == '<' || type[k] == '>' || type[k] == '|' || type[k] == '='))
    t.BigEndian = type[k++] == '>';
  if (type[0] == '=') t.BigEndian = std::endian::native == std::endian::big;
  t.Kind = k < type.size() ? type[k++] : 0;
  const std::string size = type.substr(k);
  t.Size = size.size() == 1 ? size_t(size[0] - '0') : 0;
  const bool known = (t.Kind == 'f' && (t.Size == 2 || t.Size == 4 || t.Size == 8)) ||
                     ((t.Kind == 'i' || t.Kind == 'u') &&
                      (t.Size == 1 || t.Size == 2 || t.Size == 4 || t.Size == 8));
  if (!known)
    RefuseDataFile(
        name, "its .npy array is of type '" + type + "', not of floats or integers Kesto reads");
  return t;
}

std::vector<uint64_t> ShapeOf(std::string_view shape, const std::string& name) {
  std::vector<uint64_t> dims;
  if (shape.size() < 2 || shape.front() != '(' || shape.back() != ')')
    RefuseDataFile(name, "its .npy header's shape is not a tuple of sizes");
  std::string_view rest = shape.substr(1, shape.size() - 2);
  while (!rest.empty()) {
    const size_t comma = rest.find(',');
    std::string_view field = rest.substr(0, comma);
    while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
    while (!field.empty() && (field.back() == ' ' || field.back() == 'L')) field.remove_suffix(1);
    if (!field.empty()) {
      uint64_t v = 0;
      for (const char c : field) {
        if (c < '0' || c > '9' || v > (UINT64_MAX - 9) / 10)
          RefuseDataFile(name, "its .npy header's shape is not a tuple of sizes");
        v = v * 10 + uint64_t(c - '0');
      }
      dims.push_back(v);
    }
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return dims;
}

TNpyHeader ReadHeader(TDataSource& in, const std::string& name) {
  char lead[12];  // magic, version and a length of up to four bytes
  if (ReadFully(in, lead, 8) != 8 || std::string_view(lead, 6) != kMagic)
    RefuseDataFile(name, "its .npy header is cut short");
  const int major = uint8_t(lead[6]);
  if (major < 1 || major > 3)
    RefuseDataFile(
        name, "it is .npy format version " + std::to_string(major) + ", which Kesto does not read");
  const size_t lengthBytes = major == 1 ? 2 : 4;
  if (ReadFully(in, lead + 8, lengthBytes) != lengthBytes)
    RefuseDataFile(name, "its .npy header is cut short");
  size_t length = 0;
  for (size_t k = lengthBytes; k-- > 0;) length = length * 256 + uint8_t(lead[8 + k]);
  // numpy writes headers of a few hundred bytes; more than this is no header.
  if (length > (1 << 20))
    RefuseDataFile(name, "its .npy header claims " + std::to_string(length) + " bytes");
  std::string text(length, '\0');
  if (ReadFully(in, text.data(), length) != length)
    RefuseDataFile(name, "its .npy header is cut short");
  const THeaderText header(std::move(text), name);
  TNpyHeader h;
  h.Type = TypeOf(header.Value("descr"), name);
  h.Fortran = header.Value("fortran_order") == "True";
  h.Shape = ShapeOf(header.Value("shape"), name);
  if (h.Shape.size() != 2)
    RefuseDataFile(name, "its .npy array has " + std::to_string(h.Shape.size()) +
                             (h.Shape.size() == 1 ? " dimension" : " dimensions") +
                             "; a grid is 2-D, rows by columns");
  if (h.Shape[0] == 0 || h.Shape[1] == 0) RefuseDataFile(name, "its .npy array holds no values");
  return h;
}

double HalfToDouble(uint16_t h) {
  const int exponent = (h >> 10) & 0x1F;
  const double mantissa = h & 0x3FF;
  const double sign = (h & 0x8000) ? -1 : 1;
  if (exponent == 0) return sign * std::ldexp(mantissa, -24);
  if (exponent == 31)
    return mantissa == 0 ? sign * std::numeric_limits<double>::infinity()
                         : std::numeric_limits<double>::quiet_NaN();
  return sign * std::ldexp(mantissa + 1024, exponent - 25);
}

// One value of type T from its bytes, in the file's byte order.
template <class T, bool Swapped>
double Decode(const char* p) {
  std::array<char, sizeof(T)> bytes;
  std::memcpy(bytes.data(), p, sizeof(T));
  if constexpr (Swapped) std::reverse(bytes.begin(), bytes.end());
  const auto v = std::bit_cast<T>(bytes);
  return double(v);
}

template <bool Swapped>
double DecodeHalf(const char* p) {
  return HalfToDouble(uint16_t(Decode<uint16_t, Swapped>(p)));
}

using TDecode = double (*)(const char*);

template <bool Swapped>
TDecode DecoderOf(const TNpyType& t) {
  switch (t.Kind == 'f' ? t.Size : t.Kind == 'i' ? 16 + t.Size : 32 + t.Size) {
    case 2:
      return DecodeHalf<Swapped>;
    case 4:
      return Decode<float, Swapped>;
    case 8:
      return Decode<double, Swapped>;
    case 16 + 1:
      return Decode<int8_t, Swapped>;
    case 16 + 2:
      return Decode<int16_t, Swapped>;
    case 16 + 4:
      return Decode<int32_t, Swapped>;
    case 16 + 8:
      return Decode<int64_t, Swapped>;
    case 32 + 1:
      return Decode<uint8_t, Swapped>;
    case 32 + 2:
      return Decode<uint16_t, Swapped>;
    case 32 + 4:
      return Decode<uint32_t, Swapped>;
    default:
      return Decode<uint64_t, Swapped>;
  }
}

// The decoder of the type, chosen once for all of the array's values.
TDecode DecoderOf(const TNpyType& t) {
  const bool swapped = t.BigEndian != (std::endian::native == std::endian::big);
  return swapped ? DecoderOf<true>(t) : DecoderOf<false>(t);
}

}  // namespace

bool IsNpy(std::string_view head) { return head.substr(0, kMagic.size()) == kMagic; }

TGridData ReadNpy(TDataSource& in, const std::string& name, const TReadPump& pump,
                  int64_t mostPoints, TDataFileNotes* notes) {
  const TNpyHeader h = ReadHeader(in, name);
  const uint64_t rows = h.Shape[0], columns = h.Shape[1];
  CheckGridSize(name, columns, rows, mostPoints);
  TGrid grid(rows);
  for (TGridRow& row : grid) row.resize(columns);  // not copies of a first row: faster
  const uint64_t count = rows * columns;
  const TDecode decode = DecoderOf(h.Type);
  uint64_t r = 0, c = 0;  // where the next value goes
  constexpr size_t kPiece = 1 << 16;
  const size_t perPiece = kPiece / h.Type.Size;
  const auto buffer = std::make_unique_for_overwrite<char[]>(perPiece * h.Type.Size);
  auto lastPump = std::chrono::steady_clock::now();
  int64_t holes = 0;
  for (uint64_t at = 0; at < count;) {
    const size_t want = size_t(std::min<uint64_t>(perPiece, count - at)) * h.Type.Size;
    const size_t got = ReadFully(in, buffer.get(), want);
    const size_t values = got / h.Type.Size;
    for (size_t k = 0; k < values; ++k, ++at) {
      const double z = decode(buffer.get() + k * h.Type.Size);
      holes += std::isnan(z);
      grid[r][c] = TGridPoint{double(c), double(r), z};
      // The next place: along the row (C order) or down the column (Fortran order).
      if (h.Fortran && ++r == rows) {
        r = 0, ++c;
      } else if (!h.Fortran && ++c == columns) {
        c = 0, ++r;
      }
    }
    if (got < want)
      RefuseDataFile(name, "its .npy data ends after " + std::to_string(at) + " of the " +
                               std::to_string(count) + " values its header announces");
    if (pump && std::chrono::steady_clock::now() - lastPump >= std::chrono::milliseconds(30)) {
      pump(double(at) / double(count));
      lastPump = std::chrono::steady_clock::now();
    }
  }
  TGridData d = FinishGrid(std::move(grid), name);
  if (notes) {
    *notes = {};
    notes->Layout = TDataLayout::Npy;
    notes->Holes = holes;
  }
  return d;
}
