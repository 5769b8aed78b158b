#pragma once

// The project options: title, administrator, root and banner directories,
// page file names, the top link, and what publishing writes besides the
// pages, on five tabs.

#include <QDialog>

#include "core/design/ProjectOptions.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QTabWidget;

namespace tessaly {

class FileDialogs;
class MessagePresenter;

class TForm_ProjectOption final : public QDialog {
    Q_OBJECT

public:
    // projectDirectory: the folder of the project file (empty when unsaved),
    // where the browse buttons start when the fields say nothing.
    TForm_ProjectOption(MessagePresenter& messages, FileDialogs& files, const ProjectOptions& options,
        const QString& projectDirectory, int page, QWidget* parent = nullptr);
    ~TForm_ProjectOption() override;

    ProjectOptions Options() const;
    // "デフォルト": the administrator becomes that of new projects.
    bool StoreAsDefault() const;

    void Button1Click();
    QTabWidget* Tabs() const { return tabs_; }

private:
    QWidget* PublishingPage();
    SitePublishing Publishing() const;
    QLineEdit* Field(const QString& name, const std::string& text);
    QLineEdit* FieldOf(OptionsField field) const;
    QString ExistingOr(const QString& path, const QString& fallback) const;
    void BrowseRoot();
    void BrowseBanner();
    void BrowseTopDirectory();
    void BrowseTopFile();

    MessagePresenter& messages_;
    FileDialogs& files_;
    QString projectDirectory_;
    QTabWidget* tabs_;
    QLineEdit* title_;
    QLineEdit* name_;
    QLineEdit* nameKana_;
    QLineEdit* mail_;
    QCheckBox* ownerDefault_;
    QLineEdit* root_;
    QLineEdit* banner_;
    QLineEdit* defaultFile_;
    QLineEdit* subFile_;
    QLineEdit* parentAnchor_;
    QLineEdit* parentPath_;
    QComboBox* pageEncoding_;
    QCheckBox* siteSearch_;
    QCheckBox* feed_;
    QSpinBox* feedCount_;
    QCheckBox* sitemap_;
    QLineEdit* baseUrl_;
    QLineEdit* publishCommand_;
};

} // namespace tessaly
