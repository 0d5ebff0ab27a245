#ifndef CHARSETKIT_CHARSETKIT_H
#define CHARSETKIT_CHARSETKIT_H

// The whole public API of charsetkit.

#include <charsetkit/charsetkit_export.h>

#include <charsetkit/utilities/Convert.h>
#include <charsetkit/utilities/StringUtils.h>

#include <charsetkit/encodings/AbstractEncoding.h>
#include <charsetkit/encodings/AsciiEncoding.h>
#include <charsetkit/encodings/EncodingFromId.h>
#include <charsetkit/encodings/EucJpEncoding.h>
#include <charsetkit/encodings/EucKrEncoding.h>
#include <charsetkit/encodings/JisEncoding.h>
#include <charsetkit/encodings/SjisEncoding.h>
#include <charsetkit/encodings/StreamingDecoder.h>
#include <charsetkit/encodings/StreamingEncoder.h>
#include <charsetkit/encodings/StreamingVerifier.h>
#include <charsetkit/encodings/Utf8Encoding.h>

#include <charsetkit/japanese/JapaneseConversions.h>
#include <charsetkit/korean/KoreanUtil.h>

#include <charsetkit/traversal/AbstractTraverser.h>
#include <charsetkit/traversal/AsciiTraverser.h>
#include <charsetkit/traversal/CharsetChecker.h>
#include <charsetkit/traversal/EucJpTraverser.h>
#include <charsetkit/traversal/EucKrTraverser.h>
#include <charsetkit/traversal/JisTraverser.h>
#include <charsetkit/traversal/SjisTraverser.h>
#include <charsetkit/traversal/TraverserContainer.h>
#include <charsetkit/traversal/TraverserUtils.h>
#include <charsetkit/traversal/Utf16BigTraverser.h>
#include <charsetkit/traversal/Utf16LittleTraverser.h>
#include <charsetkit/traversal/Utf8Traverser.h>

#include <charsetkit/locales/AbstractLocale.h>
#include <charsetkit/locales/EncodingSniffer.h>
#include <charsetkit/locales/IncrementalDetector.h>
#include <charsetkit/locales/JapaneseLocale.h>
#include <charsetkit/locales/KoreanLocale.h>
#include <charsetkit/locales/Utf8Locale.h>

#include <charsetkit/detectors/AbstractDetectorSM.h>
#include <charsetkit/detectors/AbstractStatefulDetectorSM.h>
#include <charsetkit/detectors/AbstractStatelessDetectorSM.h>
#include <charsetkit/detectors/AsciiDetectorSM.h>
#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/detectors/JapaneseUtf8DetectorSM.h>
#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/detectors/SjisDetectorSM.h>
#include <charsetkit/detectors/Utf8DetectorSM.h>

#endif
