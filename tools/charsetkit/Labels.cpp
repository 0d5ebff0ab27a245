#include "Labels.h"

#include "Charsets.h"
#include "Cli.h"

namespace charsetkit {
namespace tool {

EncodingId resolveLabel(const std::string& label) {
    for (EncodingId id : allEncodings()) {
        if (encodingFor(id).isAliasOrName(label.c_str())) {
            return id;
        }
    }
    throw UsageError("unknown encoding label '" + label + "' (see charsetkit labels)");
}

std::string preferredName(EncodingId id) {
    const AbstractEncoding* encoding = findEncoding(id);
    return encoding != nullptr ? encoding->getPreferedID() : "unknown";
}

std::vector<std::string> aliasesOf(EncodingId id) {
    std::vector<std::string> labels;
    for (const char* const* label = AbstractEncoding::getLabels(id);
         label != nullptr && *label != nullptr; ++label) {
        labels.emplace_back(*label);
    }
    return labels;
}

} // namespace tool
} // namespace charsetkit
