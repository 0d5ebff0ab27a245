#ifndef CHARSETKIT_UTILITIES_CONVERT_H
#define CHARSETKIT_UTILITIES_CONVERT_H

#include <charsetkit/charsetkit_export.h>

namespace charsetkit {

/// Read-only lookup tables for hexadecimal digits, indexed by a byte's
/// unsigned value (0x00-0xFF). Constant data: any thread may read them.
class CHARSETKIT_EXPORT Convert {
public:
    /// 0-9 for '0'-'9', 10-15 for 'a'-'f' and 'A'-'F', 0 for every other byte.
    static const int ms_hexToInt[256];
    /// The same digit values, and -1 for every byte that is not a
    /// hexadecimal digit (0x80-0xFF included).
    static const int ms_legalHexToInt[256];
};

} // namespace charsetkit

#endif
