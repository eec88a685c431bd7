#pragma once

#include "Collection.h"
#include "Forms.h"

#include <QObject>
#include <QString>

#include <memory>

// The loaded HTML page and the forms read from it.
class webpage final : public QObject
{
    Q_OBJECT

public:
    qint32 pagetype = 0; // 0: the local file `path`; otherwise `URL`
    QString URL;
    QString path;
    std::shared_ptr<CForm> selected_form;
    qint16 nforms = 0;
    std::shared_ptr<Forms> forms;

    // Banned visitor addresses in the order entered; created on first read.
    const std::shared_ptr<StringCollection> &blocked_ips();

signals:
    void FinishReading();

private:
    std::shared_ptr<StringCollection> m_blocked_ips;
};
