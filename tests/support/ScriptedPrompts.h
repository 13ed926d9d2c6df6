#pragma once

#include "platform/Prompts.h"

#include <QString>
#include <deque>
#include <vector>

namespace ladoton::testing {

// Answers the window's boxes and dialogs from a script and remembers what was shown.
class ScriptedPrompts final : public Prompts {
  public:
    struct Shown {
        QString caption;
        QString text;
    };
    std::vector<Shown> messages;
    struct FileDialogShown {
        bool save;
        QString filter;
        QString defaultSuffix;
    };
    std::deque<QString> fileAnswers; // empty string: cancelled
    std::vector<QString> fileFolders;
    std::vector<FileDialogShown> fileDialogs;
    std::deque<int> keyAnswers;
    int aboutCount = 0;

    void message(QWidget*, const QString& caption, const QString& text) override {
        messages.push_back({caption, text});
    }
    QString openFileName(QWidget*, const QString& folder, const QString& filter,
                         const QString& defaultSuffix) override {
        fileDialogs.push_back({false, filter, defaultSuffix});
        return nextFile(folder);
    }
    QString saveFileName(QWidget*, const QString& folder, const QString& filter,
                         const QString& defaultSuffix) override {
        fileDialogs.push_back({true, filter, defaultSuffix});
        return nextFile(folder);
    }
    int assignKey(QWidget*) override {
        if (keyAnswers.empty()) {
            return 0;
        }
        const int code = keyAnswers.front();
        keyAnswers.pop_front();
        return code;
    }
    void about(QWidget*) override { ++aboutCount; }

  private:
    QString nextFile(const QString& folder) {
        fileFolders.push_back(folder);
        if (fileAnswers.empty()) {
            return {};
        }
        QString answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
};

} // namespace ladoton::testing
