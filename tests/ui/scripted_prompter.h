#pragma once

#include "ui/prompter.h"

#include <QStringList>

#include <deque>
#include <vector>

namespace brumo::test {

// Answers every message box at once and keeps what was asked. Questions take the queued
// answers first, then the default answer. Installed for its lifetime.
class ScriptedPrompter : public Prompter {
public:
    ScriptedPrompter() { Prompter::Install(this); }
    ~ScriptedPrompter() override { Prompter::Install(nullptr); }
    ScriptedPrompter(const ScriptedPrompter&) = delete;
    ScriptedPrompter& operator=(const ScriptedPrompter&) = delete;

    std::vector<Prompt> asked;
    std::deque<PromptAnswer> answers;
    PromptAnswer defaultAnswer = PromptAnswer::Yes;

    PromptAnswer Ask(QWidget*, const Prompt& prompt) override {
        asked.push_back(prompt);
        if (prompt.buttons == PromptButtons::Ok)
            return PromptAnswer::Ok;
        if (answers.empty())
            return defaultAnswer;
        const PromptAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    QStringList Texts() const {
        QStringList texts;
        for (const Prompt& prompt : asked)
            texts << prompt.text;
        return texts;
    }
    int CountContaining(const QString& part) const {
        int n = 0;
        for (const Prompt& prompt : asked)
            n += prompt.text.contains(part) ? 1 : 0;
        return n;
    }
    void Clear() { asked.clear(); }
};

} // namespace brumo::test
