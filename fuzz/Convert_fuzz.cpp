// Conversion both ways over arbitrary bytes. Invariants: conversion to UTF-8
// never fails and writes at most three bytes per input byte; conversion from
// UTF-8 is all or nothing, and what it produces verifies in the target
// encoding and converts back to the input (less a sequence cut short at its
// end) without unmapped characters.
#include <charsetkit/charsetkit.h>

#include "FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace charsetkit;

namespace {

// The input without a UTF-8 sequence left open at its end.
std::string withoutOpenTail(const char* buffer, unsigned int length) {
    Utf8DetectorSM machine;
    unsigned int complete = 0;
    for (unsigned int i = 0; i < length; ++i) {
        machine.processByte(static_cast<unsigned char>(buffer[i]), false);
        if (!machine.m_inChar) {
            complete = i + 1;
        }
    }
    return std::string(buffer, complete);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::uint8_t control = data[0];
    const char* buffer = reinterpret_cast<const char*>(data + 1);
    const auto length = static_cast<unsigned int>(size - 1);
    JapaneseLocale::setSupportSjisExtensions((control & 0x01) == 0);
    EncodingFromId registry;
    const bool useReplacement = (control & 0x02) != 0;

    for (int id = AbstractEncoding::EucJp; id <= AbstractEncoding::Jis; ++id) {
        const AbstractEncoding* encoding =
            registry.getEncodingForID(static_cast<AbstractEncoding::EncodingID>(id));
        std::string utf8 = "previous";
        bool unmapped = false;
        FUZZ_CHECK(encoding->convertToUtf8(buffer, length, utf8, unmapped, useReplacement));
        FUZZ_CHECK(utf8.size() <= 3u * length);

        std::string encoded = "previous";
        if (encoding->convertFromUtf8(buffer, length, encoded)) {
            FUZZ_CHECK(encoding->verify(encoded.data(), static_cast<unsigned int>(encoded.size()),
                                        true, false, 1000));
            std::string back;
            bool backUnmapped = false;
            FUZZ_CHECK(encoding->convertToUtf8(encoded.data(),
                                               static_cast<unsigned int>(encoded.size()), back,
                                               backUnmapped, false));
            FUZZ_CHECK(!backUnmapped);
            FUZZ_CHECK(back == withoutOpenTail(buffer, length));
        } else {
            FUZZ_CHECK(encoded == "previous");
        }
    }
    JapaneseLocale::setSupportSjisExtensions(true);
    return 0;
}
