#include "console/ConsoleScanSink.h"

#include <windows.h>

#include "console/ScanReport.h"

namespace vantrel {

ConsoleScanSink::ConsoleScanSink(std::FILE* out, std::FILE* progress, bool json, bool reasons)
    : out_(out), progress_(progress), json_(json), reasons_(reasons) {}

void ConsoleScanSink::BeginReport() {
    if (json_)
        std::fputs("[\n", out_);
}

void ConsoleScanSink::EndReport() {
    if (json_)
        std::fputs(rows_ == 0 ? "]\n" : "\n]\n", out_);
    std::fflush(out_);
    if (progress_ != nullptr) {
        std::fputs("\r\x1b[K", progress_);
        std::fflush(progress_);
    }
}

void ConsoleScanSink::SetCaptionLabel(const std::string& text) {
    caption_ = text;
    ShowProgress();
}

void ConsoleScanSink::ShowProgressKey(const std::string&) {}

void ConsoleScanSink::AddScanIssue(const ScanIssue& issue) {
    if (json_) {
        if (rows_ > 0)
            std::fputs(",\n", out_);
        std::fputs(FormatIssueJson(issue).c_str(), out_);
    } else {
        std::fputs((FormatIssueTsv(issue, reasons_) + "\n").c_str(), out_);
    }
    ++rows_;
    if (rows_ % 64 == 0)
        ShowProgress();
}

void ConsoleScanSink::ScanEndedEarly(const std::string& reason) {
    endedEarly_ = true;
    earlyEndReason_ = reason;
}

void ConsoleScanSink::ScanFinished() {}

void ConsoleScanSink::ShowProgress() {
    if (progress_ == nullptr)
        return;
    std::fprintf(progress_, "\r\x1b[K%s %zu problem%s", caption_.c_str(), rows_,
                 rows_ == 1 ? "" : "s");
    std::fflush(progress_);
}

}  // namespace vantrel
