#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "scan/RowTarget.h"
#include "scan/ScanContext.h"

namespace vantrel {

// Rules (RowEvidence) that several checks share.

// The text of the string value a row designates, read again: the row's value, or for a key row
// the value `keyValueName` of its key (the default value unless named). nullopt when the key
// cannot be opened or the value holds no text: a check judges no other data.
std::optional<std::string> ReadEntryText(const ScanContext& context, const RowTarget& target,
                                         std::string_view keyValueName = {});

// The rule of rows whose entry's text was judged by ScanContext::IsMissingFilePath, with the
// evidence's file name and folder rule, in the view of the key that holds the text. Texts the
// checks judge by PathTests alone (class servers, sounds, services) lie outside the 32-bit view,
// where both answer alike.
bool EntryTextNamesMissingPath(ScanContext& context, const RowTarget& target,
                               const RowEvidence& evidence);

inline RowEvidence MissingPathEvidence(std::string_view fileName, bool allowDirectory) {
    return RowEvidence{&EntryTextNamesMissingPath, std::string(fileName), allowDirectory};
}

}  // namespace vantrel
