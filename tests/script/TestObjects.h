#pragma once
// Host objects the script tests register: Qt properties serve as published ones.

#include <QObject>
#include <QString>

class TTestMemo : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(bool Visible READ Visible)
public:
    using QObject::QObject;
    QString Text() const { return FText; }
    void SetText(const QString &t) { FText = t; }
    int Left() const { return FLeft; }
    void SetLeft(int v) { FLeft = v; }
    bool Visible() const { return true; }

private:
    QString FText;
    int FLeft = 0;
};

class TTestBigMemo : public TTestMemo {
    Q_OBJECT
public:
    using TTestMemo::TTestMemo;
};
