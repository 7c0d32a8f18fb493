#pragma once

#include <optional>
#include <string_view>

enum class TPictureFormat { Bitmap, Jpeg, Png };

// The format a file name's extension names: .BMP, .JPG, .JPEG or .PNG in any letter
// case (a to z only). The extension is the last path component from its last full
// stop on; other extensions, and none, name no format.
std::optional<TPictureFormat> FormatByExtension(std::string_view fileName);
// "png", "bmp" or "jpeg" as a format.
std::optional<TPictureFormat> FormatByName(std::string_view name);

enum class TPictureOutput { Clipboard, Jpeg, Bitmap, Png };

// The viewer's rule: an empty name means the clipboard, a JPEG extension a JPEG file,
// a PNG extension a PNG file, anything else (no extension too) a BMP file.
TPictureOutput PictureOutputFor(std::string_view fileName);
