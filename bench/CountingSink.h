#pragma once

#include <cstddef>
#include <string>

#include "scan/ScanSink.h"

namespace vantrel::bench {

// Counts rows and drops everything else: a scan's own cost, without anyone to show it.
class CountingSink : public ScanSink {
  public:
    void BeginCheckProgress() override {}
    void EndCheckProgress() override {}
    void SetCaptionLabel(const std::string&) override {}
    void ShowProgressKey(const std::string&) override {}
    void AddScanIssue(const ScanIssue&) override { ++rows_; }
    void ScanEndedEarly(const std::string&) override {}
    void ScanFinished() override {}

    size_t Rows() const { return rows_; }

  private:
    size_t rows_ = 0;
};

}  // namespace vantrel::bench
