// Finding a file whose name is known only up to ASCII case.
//
// Chart data, dictionaries and configuration name their files in upper case
// while a copied tree may hold them in any case, so each component of a path
// is matched case-insensitively (ASCII letters only; other bytes must match
// exactly). Paths keep their case and use '/'.
#pragma once

#include <string>

namespace os {

// The existing file or directory whose path equals `path` component by
// component, up to ASCII case; the exact spelling wins, otherwise the first
// match in byte order. "" when there is none. Empty components and "." are
// kept as written.
std::string findNoCase(const std::string& path);

} // namespace os
