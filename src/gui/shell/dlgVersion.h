#pragma once

// The version window: a rounded 480 x 320 picture with the version, author,
// mail and maker links; as the start screen it shows the picture alone.

#include <QDialog>
#include <QImage>

class QLabel;
class QPushButton;

namespace tessaly {

class TForm_Version final : public QDialog {
    Q_OBJECT

public:
    TForm_Version(bool girlDisabled, bool startScreen, QWidget* parent = nullptr);

    // The maker's page and the support mail (overridable by tests).
    std::function<void()> openMakerPage;
    std::function<void()> mailSupport;

    static QImage Picture(bool girlDisabled);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QImage picture_;
    bool startScreen_;
    QWidget* versionBox_;
    QWidget* linkBox_;
    QLabel* mail_;
    QLabel* page_;
};

} // namespace tessaly
