#pragma once

#include <string>

#include "scan/ScanIssue.h"

namespace vantrel {

// The details line under the results list: why the selected row is listed and how safe its
// repair is; with no row selected, how to get that.
std::string RowDetailsText(const ScanIssue* selected);

}  // namespace vantrel
