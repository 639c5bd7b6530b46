#pragma once

#include <string>

#include "scan/ScanIssue.h"

namespace vantrel {

// Where a scan reports. Called on the scan task's thread, in the order the checks produce
// their effects; a window's sink hands them to its UI thread.
class ScanSink {
  public:
    virtual ~ScanSink() = default;

    // Before and after each entry of the check list; a window performs them on its UI thread
    // while the task waits.
    virtual void BeginCheckProgress() = 0;
    virtual void EndCheckProgress() = 0;
    virtual void SetCaptionLabel(const std::string& text) = 0;
    // The key label's text, its line break already applied.
    virtual void ShowProgressKey(const std::string& text) = 0;
    virtual void AddScanIssue(const ScanIssue& issue) = 0;
    // The same for a row nobody else needs afterwards: a sink that keeps rows may take it
    // without copying its texts.
    virtual void AddScanIssue(ScanIssue&& issue) {
        AddScanIssue(static_cast<const ScanIssue&>(issue));
    }
    // The scan ended before its last check because of an error; the rows so far stay.
    virtual void ScanEndedEarly(const std::string& reason) = 0;
    // Every check has run (not sent after a stop or an early end).
    virtual void ScanFinished() = 0;
};

// A sink that drops every report: the base of sinks that keep one kind of report alone.
class SilentSink : public ScanSink {
  public:
    void BeginCheckProgress() override {}
    void EndCheckProgress() override {}
    void SetCaptionLabel(const std::string&) override {}
    void ShowProgressKey(const std::string&) override {}
    void AddScanIssue(const ScanIssue&) override {}
    void ScanEndedEarly(const std::string&) override {}
    void ScanFinished() override {}
};

}  // namespace vantrel
