#pragma once

#include <cstddef>
#include <string>

#include "scan/ScanSink.h"

namespace vantrel::bench {

// Counts rows and drops everything else: a scan's own cost, without anyone to show it.
class CountingSink : public SilentSink {
  public:
    void AddScanIssue(const ScanIssue&) override { ++rows_; }

    size_t Rows() const { return rows_; }

  private:
    size_t rows_ = 0;
};

}  // namespace vantrel::bench
