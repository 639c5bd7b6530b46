#include "platform/memory/ScriptedPrompts.h"

namespace vantrel {
namespace {

std::optional<std::string> TakeNext(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty())
        return std::nullopt;
    std::optional<std::string> next = std::move(answers.front());
    answers.pop_front();
    return next;
}

}  // namespace

bool ScriptedPrompts::AskYesNo(std::string_view question, DefaultAnswer defaultAnswer) {
    questions_.emplace_back(question);
    defaults_.push_back(defaultAnswer);
    log_.push_back("question: " + std::string(question));
    const auto answer = answers_.find(question);
    return answer != answers_.end() ? answer->second : answer_;
}

void ScriptedPrompts::ShowNotice(std::string_view text) {
    notices_.emplace_back(text);
    log_.push_back("notice: " + std::string(text));
}

void ScriptedPrompts::ShowError(std::string_view text) {
    errors_.emplace_back(text);
    log_.push_back("error: " + std::string(text));
}

std::optional<std::string> ScriptedPrompts::AskSaveFileName(const SaveFileQuestion& question) {
    saveDialogs_.push_back(question);
    log_.push_back("save: " + question.title);
    return TakeNext(savePaths_);
}

std::optional<std::string> ScriptedPrompts::AskFolder(std::string_view instruction) {
    folderBrowsers_.emplace_back(instruction);
    log_.push_back("folder: " + std::string(instruction));
    return TakeNext(folders_);
}

}  // namespace vantrel
