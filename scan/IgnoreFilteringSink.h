#pragma once

#include <string>

#include "scan/IgnoreFilter.h"
#include "scan/ScanSink.h"

namespace vantrel {

// Passes every report on to another sink except the rows that the ignore lists drop: the
// console's form of the filter the window applies after a scan. The lists must outlive it.
class IgnoreFilteringSink : public ScanSink {
  public:
    IgnoreFilteringSink(ScanSink& next, const IgnoreLists& lists) : next_(next), lists_(lists) {}

    void BeginCheckProgress() override { next_.BeginCheckProgress(); }
    void EndCheckProgress() override { next_.EndCheckProgress(); }
    void SetCaptionLabel(const std::string& text) override { next_.SetCaptionLabel(text); }
    void ShowProgressKey(const std::string& text) override { next_.ShowProgressKey(text); }
    void AddScanIssue(const ScanIssue& issue) override {
        if (!IsIgnoredRow(issue, lists_))
            next_.AddScanIssue(issue);
    }
    void ScanEndedEarly(const std::string& reason) override { next_.ScanEndedEarly(reason); }
    void ScanFinished() override { next_.ScanFinished(); }

  private:
    ScanSink& next_;
    IgnoreLists lists_;
};

}  // namespace vantrel
