#pragma once
// The entry window of the certificate program.

#include <QMainWindow>

// The operator's one window: the booklet pages with the entry controls over them.
class TfmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfmMain(QWidget *parent = nullptr);
};
