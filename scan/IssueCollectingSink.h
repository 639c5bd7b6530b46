#pragma once

#include <string>
#include <vector>

#include "scan/ScanSink.h"

namespace vantrel {

// Passes every report on to another sink and keeps the rows, for a repair after the scan.
class IssueCollectingSink : public ScanSink {
  public:
    explicit IssueCollectingSink(ScanSink& next) : next_(next) {}

    void BeginCheckProgress() override { next_.BeginCheckProgress(); }
    void EndCheckProgress() override { next_.EndCheckProgress(); }
    void SetCaptionLabel(const std::string& text) override { next_.SetCaptionLabel(text); }
    void ShowProgressKey(const std::string& text) override { next_.ShowProgressKey(text); }
    void AddScanIssue(const ScanIssue& issue) override {
        issues_.push_back(issue);
        next_.AddScanIssue(issue);
    }
    void ScanEndedEarly(const std::string& reason) override { next_.ScanEndedEarly(reason); }
    void ScanFinished() override { next_.ScanFinished(); }

    const std::vector<ScanIssue>& Issues() const { return issues_; }

  private:
    ScanSink& next_;
    std::vector<ScanIssue> issues_;
};

}  // namespace vantrel
