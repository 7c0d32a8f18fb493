#include "core/DataSource.h"

#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/DataFile.h"

namespace {

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

class TFdSource : public TDataSource {
 public:
  TFdSource(int fd, std::string name)
      : fd_(fd), name_(std::move(name)), start_(::lseek(fd, 0, SEEK_CUR)) {
    struct stat st;
    if (start_ >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) size_ = st.st_size;
  }
  size_t Read(char* buffer, size_t size) override {
    for (;;) {
      const ssize_t n = ::read(fd_, buffer, size);
      if (n >= 0) return size_t(n);
      if (errno != EINTR)
        throw TDataFileError("Cannot read " + Quoted(name_) + ": " + std::strerror(errno) + ".");
    }
  }
  bool Rewind() override { return start_ >= 0 && ::lseek(fd_, start_, SEEK_SET) == start_; }
  double Fraction() const override {
    if (size_ <= start_) return 0;
    return std::min(1.0, double(::lseek(fd_, 0, SEEK_CUR) - start_) / double(size_ - start_));
  }

 private:
  int fd_;
  std::string name_;
  off_t start_;
  off_t size_ = 0;  // of a regular file
};

// The bytes read to tell the kind of a file, handed out again before the rest.
class TPeekedSource : public TDataSource {
 public:
  TPeekedSource(std::unique_ptr<TDataSource> raw, std::string peeked)
      : raw_(std::move(raw)), peeked_(std::move(peeked)) {}
  size_t Read(char* buffer, size_t size) override {
    if (at_ == peeked_.size()) return raw_->Read(buffer, size);
    const size_t n = std::min(size, peeked_.size() - at_);
    std::memcpy(buffer, peeked_.data() + at_, n);
    at_ += n;
    return n;
  }
  bool Rewind() override {
    if (!raw_->Rewind()) return false;
    peeked_.clear();
    at_ = 0;
    return true;
  }
  double Fraction() const override { return raw_->Fraction(); }

 private:
  std::unique_ptr<TDataSource> raw_;
  std::string peeked_;
  size_t at_ = 0;
};

// gzip members one after another, as gzip itself reads them; bytes after the last
// member that start no other are ignored, as gzip does.
class TGzipSource : public TDataSource {
 public:
  TGzipSource(std::unique_ptr<TDataSource> raw, std::string name)
      : raw_(std::move(raw)),
        name_(std::move(name)),
        in_(std::make_unique_for_overwrite<Bytef[]>(kInput)) {
    if (inflateInit2(&z_, 15 + 16) != Z_OK) throw std::bad_alloc();
  }
  ~TGzipSource() override { inflateEnd(&z_); }
  TGzipSource(const TGzipSource&) = delete;
  TGzipSource& operator=(const TGzipSource&) = delete;

  size_t Read(char* buffer, size_t size) override {
    z_.next_out = reinterpret_cast<Bytef*>(buffer);
    const uInt wanted = uInt(std::min<size_t>(size, 1u << 30));
    z_.avail_out = wanted;
    while (z_.avail_out > 0 && !done_) {
      if (z_.avail_in == 0 && !Fill()) {
        if (!memberEnded_) Damaged("it ends in the middle of the compressed data");
        done_ = true;
        break;
      }
      if (memberEnded_) {
        // Another member follows only where its magic bytes do.
        if (z_.next_in[0] != 0x1f) {
          done_ = true;
          break;
        }
        inflateReset(&z_);
        memberEnded_ = false;
      }
      const uLong before = z_.total_in;
      const int r = inflate(&z_, Z_NO_FLUSH);
      consumed_ += z_.total_in - before;
      if (r == Z_STREAM_END) {
        memberEnded_ = true;
      } else if (r == Z_MEM_ERROR) {
        throw std::bad_alloc();
      } else if (r != Z_OK && r != Z_BUF_ERROR) {
        Damaged(z_.msg ? z_.msg : "it is not gzip data");
      }
    }
    return wanted - z_.avail_out;
  }

  bool Rewind() override {
    if (!raw_->Rewind()) return false;
    inflateReset(&z_);
    z_.avail_in = 0;
    consumed_ = 0;
    memberEnded_ = done_ = false;
    return true;
  }
  double Fraction() const override { return raw_->Fraction(); }

 private:
  bool Fill() {
    const size_t n = raw_->Read(reinterpret_cast<char*>(in_.get()), kInput);
    z_.next_in = in_.get();
    z_.avail_in = uInt(n);
    return n > 0;
  }
  [[noreturn]] void Damaged(const std::string& why) const {
    throw TDataFileError("The data file " + Quoted(name_) +
                         " cannot be shown: its gzip data is damaged at byte " +
                         std::to_string(consumed_) + " (" + why + ").");
  }

  std::unique_ptr<TDataSource> raw_;
  std::string name_;
  static constexpr size_t kInput = 1 << 16;
  std::unique_ptr<Bytef[]> in_;
  z_stream z_{};
  uint64_t consumed_ = 0;  // compressed bytes taken so far
  bool memberEnded_ = false, done_ = false;
};

class TTextSource : public TDataSource {
 public:
  explicit TTextSource(std::string_view text) : text_(text) {}
  size_t Read(char* buffer, size_t size) override {
    const size_t n = std::min(size, text_.size() - at_);
    std::memcpy(buffer, text_.data() + at_, n);
    at_ += n;
    return n;
  }
  bool Rewind() override {
    at_ = 0;
    return true;
  }
  double Fraction() const override {
    return text_.empty() ? 1 : double(at_) / double(text_.size());
  }

 private:
  std::string_view text_;
  size_t at_ = 0;
};

}  // namespace

namespace {

// The source as it is, or inflated where its first two bytes say gzip.
std::unique_ptr<TDataSource> Inflated(std::unique_ptr<TDataSource> raw, const std::string& name) {
  const std::string magic = Peek(raw, 2);
  if (magic != "\x1f\x8b") return raw;
  return std::make_unique<TGzipSource>(std::move(raw), name);
}

}  // namespace

std::string Peek(std::unique_ptr<TDataSource>& in, size_t size) {
  // A pipe may hand the bytes over one at a time.
  std::string head(size, '\0');
  size_t got = 0;
  while (got < size) {
    const size_t n = in->Read(head.data() + got, size - got);
    if (n == 0) break;
    got += n;
  }
  head.resize(got);
  in = std::make_unique<TPeekedSource>(std::move(in), head);
  return head;
}

std::unique_ptr<TDataSource> OpenDataSource(int fd, const std::string& name) {
  return Inflated(std::make_unique<TFdSource>(fd, name), name);
}

std::unique_ptr<TDataSource> TextDataSource(std::string_view text, const std::string& name) {
  return Inflated(std::make_unique<TTextSource>(text), name);
}
