#pragma once

#include "model/webpage.h"

#include <QFile>
#include <QTemporaryDir>

#include <gmock/gmock.h>

#include <ostream>

// Failed comparisons show texts as texts.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// A page object whose messages and signals the test records, and pages
// written to a folder of its own.
class ReaderFixture : public ::testing::Test
{
protected:
    struct Message
    {
        QString text;
        qint32 buttons;
        qint32 icon;
    };

    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        webpage::set_message_function([this](const QString &text, qint32 buttons, qint32 icon) {
            messages.push_back({ text, buttons, icon });
            return 4; // OK
        });
        QObject::connect(&page, &webpage::FinishReading, [this] { ++finished; });
        QObject::connect(&page, &webpage::LoadFailed, [this] { ++failed; });
    }

    void TearDown() override { webpage::set_message_function({}); }

    QString write(const QByteArray &html, const QString &name = QStringLiteral("page.html"))
    {
        const QString file = folder.filePath(name);
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(html);
        return file;
    }

    // Reads a page from a local file; true when FinishReading came.
    bool read(const QByteArray &html)
    {
        page.pagetype = 0;
        page.path = write(html);
        const int before = finished;
        page.ReadForms();
        return finished == before + 1;
    }

    // The only message shown, checked to be a notice.
    QString notice() const
    {
        EXPECT_EQ(messages.size(), 1u);
        if (messages.empty())
            return {};
        EXPECT_EQ(messages.front().buttons, 1);
        EXPECT_EQ(messages.front().icon, 3);
        return messages.front().text;
    }

    QTemporaryDir folder;
    webpage page;
    std::vector<Message> messages;
    int finished = 0;
    int failed = 0;
};
