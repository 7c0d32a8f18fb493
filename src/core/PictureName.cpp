#include "core/PictureName.h"

#include <string>

TPictureOutput PictureOutputFor(std::string_view name) {
  if (name.empty()) return TPictureOutput::Clipboard;
  const size_t slash = name.find_last_of('/');
  const std::string_view last = slash == std::string_view::npos ? name : name.substr(slash + 1);
  const size_t dot = last.find_last_of('.');
  if (dot == std::string_view::npos) return TPictureOutput::Bitmap;
  std::string ext(last.substr(dot));
  for (char& c : ext)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return ext == ".JPG" || ext == ".JPEG" ? TPictureOutput::Jpeg : TPictureOutput::Bitmap;
}
