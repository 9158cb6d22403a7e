#pragma once

#include <QObject>
#include <QStringList>

// Placeholder until the command framework is built.
class TActionManager : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString images MEMBER images_)
    Q_PROPERTY(QString styleName MEMBER styleName_)
    Q_PROPERTY(QString fileName READ FileName WRITE SetFileName)
    Q_PROPERTY(QStringList actionBars MEMBER actionBars_)

public:
    explicit TActionManager(QObject *parent = nullptr) : QObject(parent) {}
    QString FileName() const { return fileName_; }
    void SetFileName(const QString &name) { fileName_ = name; }

private:
    QString images_, styleName_, fileName_;
    QStringList actionBars_;
};
