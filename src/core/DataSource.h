#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

// The bytes of a data file as the parser reads them: plain, or inflated where the
// file is gzip-compressed (told by its first bytes, whatever its name). Errors are
// TDataFileError naming the file.
class TDataSource {
 public:
  virtual ~TDataSource() = default;
  // Up to size bytes; 0 at the end.
  virtual size_t Read(char* buffer, size_t size) = 0;
  // Back to the first byte for a second reading; false where that cannot be done
  // (a pipe).
  virtual bool Rewind() = 0;
  // How much of the input has been read, 0 to 1; 0 where that cannot be told (a pipe).
  virtual double Fraction() const = 0;
};

// A descriptor already open, from where it stands now; gzip data is inflated.
std::unique_ptr<TDataSource> OpenDataSource(int fd, const std::string& name);

// Text held in memory, inflated where it is gzip data.
std::unique_ptr<TDataSource> TextDataSource(std::string_view text, const std::string& name);

// The first bytes of the source (fewer where it is shorter), which it then reads again.
std::string Peek(std::unique_ptr<TDataSource>& in, size_t size);
