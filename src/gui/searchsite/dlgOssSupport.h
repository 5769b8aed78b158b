#pragma once

// The search form builder: HTML fragments for a page that queries the
// site's search script, one kind per tab, each copied to the clipboard by
// the tab's button. The dialog keeps nothing between openings.

#include <QDialog>

#include <array>

#include "core/tools/SearchForms.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace tessaly {

class MessagePresenter;
class Project;

class TForm_OssSupport final : public QDialog {
    Q_OBJECT

public:
    TForm_OssSupport(MessagePresenter& messages, const Project& project, QWidget* parent = nullptr);

private:
    QWidget* FormPage();
    QWidget* StringSearchPage();
    QWidget* GenrePage();
    QWidget* MatrixPage();
    QWidget* BeginnerMatrixPage();
    QWidget* AdvancedMatrixPage();

    void TrialClick();
    void GenreSelecterChange();
    void MatrixSelecterChange();

    void btnCopyClick();
    void btnCopy2Click();
    void btnCopy3Click();
    void btnCopy4Click();

    FormElementSettings FormElement() const;
    StringSearchSettings StringSearch() const;
    GenreFormSettings GenreForm() const;
    MatrixFormSettings MatrixForm() const;
    ScriptedMatrixSettings ScriptedMatrix() const;

    MessagePresenter& messages_;
    const Project& project_;

    QComboBox* target_;
    QLineEdit* pathToCgi_;
    QComboBox* method_;
    QComboBox* lumpRange_;
    QLineEdit* formName_;

    QComboBox* formSize_;
    QComboBox* maxLength_;
    QCheckBox* trial_;
    std::array<QComboBox*, kTrialFieldCount> trials_;

    QComboBox* genreOperate_;
    QComboBox* genreSelecter_;
    QComboBox* genreSize_;

    QTabWidget* matrixPages_;
    QComboBox* matrix_;
    QComboBox* matrixOperate_;
    QComboBox* matrixSelecter_;
    QComboBox* matrixSize_;
    QComboBox* target2_;
    QLineEdit* pathToCgi2_;
    QComboBox* method2_;
    QLineEdit* formName2_;
    QComboBox* matrix2_;
    QSpinBox* multiColumn_;
};

} // namespace tessaly
