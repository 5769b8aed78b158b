#pragma once

// The link check dialog: which items, how many requests at once and how
// long each may take; the results as they come, in a table sorted by any
// column; then the warning mark on dead links' items, the new addresses of
// moved ones, and the report as CSV.

#include <QDialog>

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/linkcheck/ItemLinks.h"
#include "core/linkcheck/LinkChecker.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSortFilterProxyModel;
class QSpinBox;
class QTreeView;

namespace tessaly {

class FileDialogs;
class LinkCheckRunner;
class LinkResultModel;
class MessagePresenter;

struct LinkCheckScope {
    QString caption; // the radio button's text, without the count
    std::vector<PlacedItem> items;
};

enum class LinkScope { Selected, Shown, Collection };

struct LinkCheckSetup {
    std::array<LinkCheckScope, 3> scopes; // in the order of LinkScope
    LinkScope chosen = LinkScope::Shown;
    std::string bannerDirectory;
    std::filesystem::path projectFile; // never replaced by the report
    LinkCheckOptions options;
};

// What the dialog's commands do to the collection; each returns how many
// items or addresses changed.
struct LinkCheckFixes {
    // Items with a mark of the user's keep it and are listed in notMarked.
    std::function<std::size_t(const std::vector<ItemPlace>&, std::vector<UnmarkedItem>* notMarked)> markFailed;
    std::function<std::size_t(const std::vector<AddressUpdate>&)> updateMoved;
    // The scopes' items as they are now: a check started again after
    // changes asks about the addresses the items have then.
    std::function<std::array<LinkCheckScope, 3>()> scopesNow;
};

class TForm_LinkCheck final : public QDialog {
    Q_OBJECT

public:
    TForm_LinkCheck(MessagePresenter& messages, FileDialogs& files, LinkCheckSetup setup, LinkCheckFixes fixes,
        QWidget* parent = nullptr);
    ~TForm_LinkCheck() override;

    LinkResultModel& Results() const { return *model_; }
    bool Running() const;

    void BtnStartClick();
    void BtnStopClick();
    void BtnMarkClick();
    void BtnUpdateClick();
    void BtnReportClick();

protected:
    void done(int result) override;

private:
    QWidget* SettingsPane();
    LinkScope ChosenScope() const;
    void ResultReady(const LinkCheckResult& result);
    void Finished(const LinkCheckSummary& summary);
    // The source rows of the table's selection, ascending.
    std::vector<int> SelectedRows() const;
    void UpdateCommands();
    void ShowCounts(const QString& ending = {});

    MessagePresenter& messages_;
    FileDialogs& files_;
    LinkCheckSetup setup_;
    LinkCheckFixes fixes_;
    ItemLinks links_;
    std::array<std::size_t, kLinkResultCount> counts_{};

    std::array<QRadioButton*, 3> scopeButtons_{};
    QSpinBox* jobs_;
    QSpinBox* timeout_;
    QPushButton* start_;
    QPushButton* stop_;
    QProgressBar* progress_;
    QLabel* status_;
    LinkResultModel* model_;
    QSortFilterProxyModel* sorted_;
    QTreeView* table_;
    QPushButton* mark_;
    QPushButton* update_;
    QPushButton* report_;
    LinkCheckRunner* runner_;
};

} // namespace tessaly
