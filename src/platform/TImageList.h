#pragma once

#include <QObject>
#include <QStringList>

// Placeholder until the command framework is built.
class TImageList : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int width MEMBER width_)
    Q_PROPERTY(int height MEMBER height_)
    Q_PROPERTY(QStringList pictures MEMBER pictures_)

public:
    explicit TImageList(QObject *parent = nullptr) : QObject(parent) {}

private:
    int width_ = 16, height_ = 16;
    QStringList pictures_;
};
