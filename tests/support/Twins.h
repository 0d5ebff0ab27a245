// The plain twins of the library's fast paths (byte-at-a-time scans,
// machine-driven conversions and traversals), gathered for the fuzz targets
// that feed the same bytes to both and fail on any difference.
#ifndef CHARSETKIT_TESTS_SUPPORT_TWINS_H
#define CHARSETKIT_TESTS_SUPPORT_TWINS_H

#include "reference/MachineConversionTwin.h"
#include "reference/PlainTraversers.h"
#include "reference/ReferenceDetection.h"
#include "reference/ReferenceScans.h"
#include "reference/ReferenceTranscoder.h"

#endif
