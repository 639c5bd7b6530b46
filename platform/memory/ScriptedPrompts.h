#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Prompts.h"

namespace vantrel {

// Prompts for tests: every question, notice, error, save dialog and folder browser is recorded
// instead of shown, and answered from a script. Questions are answered Yes unless told
// otherwise; save dialogs and folder browsers take the next scripted answer and are cancelled
// when the script has none left.
class ScriptedPrompts final : public Prompts {
  public:
    bool AskYesNo(std::string_view question, DefaultAnswer defaultAnswer) override;
    void ShowNotice(std::string_view text) override;
    void ShowError(std::string_view text) override;
    std::optional<std::string> AskSaveFileName(const SaveFileQuestion& question) override;
    std::optional<std::string> AskFolder(std::string_view instruction) override;

    // The answer to every question from now on.
    void AnswerQuestions(bool yes) { answer_ = yes; }
    // The answer to this one question, whatever the others get.
    void AnswerQuestion(std::string question, bool yes) { answers_[std::move(question)] = yes; }
    // The next save dialog's or folder browser's answer; nullopt cancels it.
    void QueueSaveFileName(std::optional<std::string> path) { savePaths_.push_back(path); }
    void QueueFolder(std::optional<std::string> folder) { folders_.push_back(folder); }

    const std::vector<std::string>& Questions() const { return questions_; }
    const std::vector<DefaultAnswer>& QuestionDefaults() const { return defaults_; }
    const std::vector<std::string>& Notices() const { return notices_; }
    const std::vector<std::string>& Errors() const { return errors_; }
    // The titles of the save dialogs shown, and their filters.
    const std::vector<SaveFileQuestion>& SaveDialogs() const { return saveDialogs_; }
    // The instructions of the folder browsers shown.
    const std::vector<std::string>& FolderBrowsers() const { return folderBrowsers_; }
    // Everything shown, in order: "question: ...", "notice: ...", "error: ...", "save: <title>",
    // "folder: <instruction>".
    const std::vector<std::string>& Log() const { return log_; }

  private:
    bool answer_ = true;
    std::map<std::string, bool, std::less<>> answers_;
    std::deque<std::optional<std::string>> savePaths_;
    std::deque<std::optional<std::string>> folders_;
    std::vector<std::string> questions_;
    std::vector<DefaultAnswer> defaults_;
    std::vector<std::string> notices_;
    std::vector<std::string> errors_;
    std::vector<SaveFileQuestion> saveDialogs_;
    std::vector<std::string> folderBrowsers_;
    std::vector<std::string> log_;
};

}  // namespace vantrel
