#pragma once

#include "model/CForm.h"
#include "model/Cprefrences.h"
#include "model/Field.h"
#include "model/globals.h"

#include <QString>

#include <memory>

class PhpRunner;

// A fresh run with one chosen form that every settings object points at, as the first page
// leaves them, for tests that generate and run scripts.
class GeneratedForm final
{
public:
    explicit GeneratedForm(const QString &method = QStringLiteral("POST"));

    // Adds a field as the page reader would name it; `posted` defaults to the name.
    Field &add(const QString &name, const QString &type = QStringLiteral("text"), const QString &posted = QString());

    Cprefrences &prefs() { return *globals::prefs(); }
    std::shared_ptr<CForm> form;

    // Writes the script into the runner's folder.
    void write(PhpRunner &runner, const QString &script = QStringLiteral("index.php"));

    // The reason logged for a submission not processed, when that line is all PHP logged; else the log.
    static QByteArray logged_refusal(const QByteArray &errors);
};
