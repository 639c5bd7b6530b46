#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "scan/ScanSink.h"

namespace vantrel::test {

// Records everything a scan reports, in order, as readable events.
class RecordingSink : public ScanSink {
  public:
    void BeginCheckProgress() override { Record("begin"); }
    void EndCheckProgress() override { Record("end"); }
    void SetCaptionLabel(const std::string& text) override { Record("caption " + text); }
    void ShowProgressKey(const std::string& text) override { Record("key " + text); }
    void AddScanIssue(const ScanIssue& issue) override {
        std::lock_guard<std::mutex> lock(mutex_);
        issues.push_back(issue);
        events.push_back("row " + issue.keyText);
    }
    void ScanEndedEarly(const std::string& reason) override { Record("ended early: " + reason); }
    void ScanFinished() override { Record("finished"); }

    std::vector<std::string> Events() {
        std::lock_guard<std::mutex> lock(mutex_);
        return events;
    }
    std::vector<ScanIssue> Issues() {
        std::lock_guard<std::mutex> lock(mutex_);
        return issues;
    }

    std::vector<std::string> events;
    std::vector<ScanIssue> issues;

  private:
    void Record(std::string event) {
        std::lock_guard<std::mutex> lock(mutex_);
        events.push_back(std::move(event));
    }
    std::mutex mutex_;
};

}  // namespace vantrel::test
