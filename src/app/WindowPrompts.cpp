#include "app/KeyboardDialog.h"

#include <QDir>
#include <QFile>

namespace ladoton {

namespace {
std::filesystem::path toPath(const QString& file) {
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}
} // namespace

void KeyboardDialog::message(const std::string& caption, const std::string& text) {
    prompts_.message(this, QString::fromStdString(caption), QString::fromStdString(text));
}

std::filesystem::path KeyboardDialog::openFileName(const std::string& filter,
                                                   const std::string& defaultSuffix) {
    return toPath(prompts_.openFileName(this, QDir::currentPath(), QString::fromStdString(filter),
                                        QString::fromStdString(defaultSuffix)));
}

std::filesystem::path KeyboardDialog::saveFileName(const std::string& filter,
                                                   const std::string& defaultSuffix) {
    return toPath(prompts_.saveFileName(this, QDir::currentPath(), QString::fromStdString(filter),
                                        QString::fromStdString(defaultSuffix)));
}

int KeyboardDialog::assignKey() {
    return prompts_.assignKey(this);
}

} // namespace ladoton
