#include "gui/search/dlgSearchProject.h"

#include <QComboBox>
#include <QVBoxLayout>

#include "gui/search/frmSqueeze.h"
#include "gui/shell/HelpTopics.h"

namespace tessaly {

TForm_SearchProject::TForm_SearchProject(
    MessagePresenter& messages, RunSearch run, const SqueezeChoices& choices, QWidget* parent)
    : SearchDialog(
        messages, std::move(run), QStringLiteral("プロジェクト設計型検索モード"), help::kSearchProject, parent)
    , squeeze_(new TFrame_Squeeze)
{
    setObjectName(QStringLiteral("TForm_SearchProject"));
    squeeze_->Initialise(choices);
    squeeze_->SetSortEnabled(false);
    Body()->addWidget(squeeze_);
}

void TForm_SearchProject::FillCriteria(TSqueeze& criteria) const
{
    squeeze_->Read(criteria);
}

QWidget* TForm_SearchProject::RetryField() const
{
    return squeeze_->GenreBox();
}

} // namespace tessaly
