#pragma once

// The design of one directory on three pages (narrowing, page settings,
// links to other resources) and the two output switches below them. Edits
// one TDirectoryDesign.

#include <QWidget>

#include <string>
#include <vector>

#include "core/design/DirectoryDesign.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace tessaly {

class DirectoryLinkList;
class FileDialogs;
class MessagePresenter;
class TFrame_Squeeze;
struct SqueezeChoices;

class DirectoryDesignEditor final : public QWidget {
    Q_OBJECT

public:
    enum Page { NarrowingPage, PagesPage, LinksPage };

    // bannerDirectory: code page 932; templateDirectory: where the page
    // template dialog starts when its field is empty.
    DirectoryDesignEditor(MessagePresenter& messages, FileDialogs& files, std::string bannerDirectory,
        QString templateDirectory, QWidget* parent = nullptr);

    // The frame's choices and the item templates ("標準簡易", "標準詳細", then
    // the project's), code page 932.
    void Initialise(const SqueezeChoices& choices, const std::vector<std::string>& itemTemplates);
    // directory: code page 932 with a trailing "/", the base of the links.
    void Show(const TDirectoryDesign& design, bool isRoot, const std::string& directory);
    // Copies the controls into design; the page settings only while the
    // directory does not inherit them.
    void Read(TDirectoryDesign& design) const;
    // The new directory's start: its parent's settings with the switches on,
    // no title, no links and two columns.
    void ShowAsNewDirectory();
    // Normalises the table width in its field; false (with the field
    // focused on its page) when it is neither an integer nor a percentage.
    bool ValidateTableWidth();

    QTabWidget* Pages() const { return pages_; }
    DirectoryLinkList* LinkList() const { return links_; }

signals:
    void addUnderDirectoriesRequested();

private:
    QWidget* NarrowingTab();
    QWidget* PagesTab();
    QWidget* LinksTab();
    void UpdateSuccession();
    void UpdateLinkStyle();
    void BrowseTemplate(QLineEdit* field);
    void BrowseOwnImage();

    MessagePresenter& messages_;
    FileDialogs& files_;
    std::string bannerDirectory_;
    QString templateDirectory_;
    QTabWidget* pages_;
    QCheckBox* htmlOutputs_;
    QCheckBox* linkOutputs_;
    TFrame_Squeeze* squeeze_;
    QLineEdit* dirTitle_;
    QCheckBox* succession_;
    QLineEdit* nameDefault_;
    QLineEdit* nameSub_;
    QComboBox* division_;
    QSpinBox* divisionCount_;
    QComboBox* templateLink_;
    QLineEdit* templateDefault_;
    QPushButton* defaultReff_;
    QLineEdit* templateSub_;
    QPushButton* subReff_;
    QLineEdit* parentFront_;
    QLineEdit* parentRear_;
    DirectoryLinkList* links_;
    QComboBox* linkDirection_;
    QSpinBox* column_;
    QLineEdit* linkWidth_;
    QComboBox* linkStyle_;
    QLineEdit* ownerImage_;
    QPushButton* ownerImageReff_;
    QLineEdit* imageWidth_;
    QLineEdit* imageHeight_;
};

} // namespace tessaly
