#pragma once

#include "GeneratedForm.h"
#include "PhpRunner.h"

#include "generate/cmail.h"
#include "model/globals.h"

#include <QFile>

#include <gtest/gtest.h>

// Posts to the script of `page`, run in the runner's folder; PHP must stay
// silent: no warning, notice or deprecation.
class ScriptTest : public ::testing::Test
{
protected:
    PhpResponse post(const PhpRequest &request)
    {
        page.write(php);
        PhpResponse response = php.run("index.php", request);
        EXPECT_EQ(response.errors, QByteArray()) << response.body.toStdString();
        return response;
    }

    void write_file(const QString &name, const QByteArray &content)
    {
        QFile file(php.path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QByteArray read_file(const QString &name)
    {
        QFile file(php.path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The owner is mailed the field name of each submission.
    void mail_the_owner()
    {
        page.prefs().is_email = true;
        cmail &owner = *globals::owner_mail();
        owner.is_GeneericEmail = true;
        owner.sender = owner.email_to = "owner@example.com";
        owner.message_lines()->Add("$name");
    }

    void redirect_results()
    {
        page.prefs().is_embeded_result_page = false;
        page.prefs().success_page = "thanks.html";
        page.prefs().error_page = "sorry.html";
    }

    PhpRunner php;
    GeneratedForm page;
};
