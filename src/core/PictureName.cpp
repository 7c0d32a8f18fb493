#include "core/PictureName.h"

#include <string>

namespace {

struct TNamedFormat {
  const char* Extension;
  const char* Name;
  TPictureFormat Format;
};

constexpr TNamedFormat kFormats[] = {{".BMP", "bmp", TPictureFormat::Bitmap},
                                     {".JPG", "jpeg", TPictureFormat::Jpeg},
                                     {".JPEG", "jpeg", TPictureFormat::Jpeg},
                                     {".PNG", "png", TPictureFormat::Png}};

}  // namespace

std::optional<TPictureFormat> FormatByExtension(std::string_view name) {
  const size_t slash = name.find_last_of('/');
  const std::string_view last = slash == std::string_view::npos ? name : name.substr(slash + 1);
  const size_t dot = last.find_last_of('.');
  if (dot == std::string_view::npos) return std::nullopt;
  std::string ext(last.substr(dot));
  for (char& c : ext)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  for (const TNamedFormat& f : kFormats)
    if (ext == f.Extension) return f.Format;
  return std::nullopt;
}

std::optional<TPictureFormat> FormatByName(std::string_view name) {
  for (const TNamedFormat& f : kFormats)
    if (name == f.Name) return f.Format;
  return std::nullopt;
}

TPictureOutput PictureOutputFor(std::string_view name) {
  if (name.empty()) return TPictureOutput::Clipboard;
  switch (FormatByExtension(name).value_or(TPictureFormat::Bitmap)) {
    case TPictureFormat::Jpeg:
      return TPictureOutput::Jpeg;
    case TPictureFormat::Png:
      return TPictureOutput::Png;
    default:
      return TPictureOutput::Bitmap;
  }
}
