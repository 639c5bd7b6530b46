#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "scan/ScanSink.h"

namespace vantrel {

// Prints each row as it is found (tab-separated or JSON) and, when stderr is a terminal, the
// running check and the row count on one refreshed stderr line.
class ConsoleScanSink : public ScanSink {
  public:
    // With reasons, each tab-separated line also gives the row's reason and risk.
    ConsoleScanSink(std::FILE* out, std::FILE* progress, bool json, bool reasons = false);

    void BeginCheckProgress() override {}
    void EndCheckProgress() override {}
    void SetCaptionLabel(const std::string& text) override;
    void ShowProgressKey(const std::string& text) override;
    void AddScanIssue(const ScanIssue& issue) override;
    void ScanEndedEarly(const std::string& reason) override;
    void ScanFinished() override;

    // Call once before and once after the scan: JSON's brackets and the progress line's end.
    void BeginReport();
    void EndReport();

    size_t RowCount() const { return rows_; }
    bool EndedEarly() const { return endedEarly_; }
    const std::string& EarlyEndReason() const { return earlyEndReason_; }

  private:
    void ShowProgress();

    std::FILE* out_;
    std::FILE* progress_;  // nullptr when stderr is not a terminal
    bool json_;
    bool reasons_;
    size_t rows_ = 0;
    bool endedEarly_ = false;
    std::string earlyEndReason_;
    std::string caption_;
};

}  // namespace vantrel
