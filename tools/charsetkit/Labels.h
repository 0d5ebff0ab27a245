#ifndef CHARSETKIT_TOOL_LABELS_H
#define CHARSETKIT_TOOL_LABELS_H

// Charset labels as the tool takes and shows them: resolving a label given on
// the command line, the preferred name of an encoding and the label lists
// shown by `labels`.

#include <charsetkit/charsetkit.h>

#include <string>
#include <vector>

namespace charsetkit {
namespace tool {

using EncodingId = AbstractEncoding::EncodingID;

/// The encoding a charset label names, through the library's alias matching
/// (case-insensitive, whole label), trying the encodings in identifier order;
/// so "x-euc", an alias of both EUC-JP and EUC-KR, names EUC-JP. Throws
/// UsageError for a label that names nothing.
EncodingId resolveLabel(const std::string& label);

/// The preferred charset name of an identifier ("shift_jis").
std::string preferredName(EncodingId id);

/// The charset labels of an encoding, preferred name first, as the library
/// lists them.
std::vector<std::string> aliasesOf(EncodingId id);

} // namespace tool
} // namespace charsetkit

#endif
