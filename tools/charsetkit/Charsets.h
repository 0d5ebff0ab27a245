#ifndef CHARSETKIT_TOOL_CHARSETS_H
#define CHARSETKIT_TOOL_CHARSETS_H

// What the tool knows about encodings and locales on top of the library: the
// encoding objects, and the locale and setting names given on the command
// line. Labels, the Western conversions and the UTF-8 helpers have headers
// of their own, included here for the commands.

#include "Labels.h"
#include "Utf8.h"
#include "Windows1252.h"

#include <charsetkit/charsetkit.h>

#include <memory>
#include <string>
#include <vector>

namespace charsetkit {
namespace tool {

/// The encoding object for identifier 1-6, or null for any other number.
const AbstractEncoding* findEncoding(EncodingId id);

/// The encoding object for identifier 1-6.
const AbstractEncoding& encodingFor(EncodingId id);

/// The identifiers 1 to 6 in order.
std::vector<EncodingId> allEncodings();

/// A locale for "japanese", "korean" or "utf8" (any case) or one of the
/// library's own names ("Japanese", "jp", "Korean", "ko-Kr", "Utf8").
/// Throws UsageError otherwise.
std::unique_ptr<AbstractLocale> resolveLocale(const std::string& name);

/// "local", "utf8" (or "utf-8") or "both", in any case; throws UsageError
/// otherwise.
AbstractLocale::SupportedEncodings resolveSupported(const std::string& name);

} // namespace tool
} // namespace charsetkit

#endif
