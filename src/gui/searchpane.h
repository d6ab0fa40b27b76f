#pragma once

#include <QTime>
#include <QWidget>
#include <cstdint>

#include "searchcriteria.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace quillon {

class CatalogNode;
class Catalog;
class FindFileAnimation;

// The left pane of search mode: the name, where to look, Search Now and Stop Search, and the options panel
// with the media info, date and size criteria. The pane lays itself out as the criteria are switched on and
// off; the window runs the searches.
class SearchPane final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchPane)

public:
    // A "Look in:" entry's data: the id of the volume it names (entries 2 and on).
    static constexpr int VolumeIdRole = Qt::UserRole + 2;
    static constexpr int IndentRole = Qt::UserRole + 3;

    explicit SearchPane(QWidget* parent = nullptr);

    // The criteria as the controls hold them now. The name mode and today are the run's to decide.
    SearchCriteria criteria() const;

    // Rebuilds the "Look in:" entries: the selected node (by its name), "My Catalogs", then every volume.
    void FillLookIn(const Catalog& catalog, const CatalogNode* selected);
    // Entry 0 follows the node shown in the browser.
    void setLookInLocation(const QString& path, int image);
    // The volume id of a "Look in:" entry of 2 or more; 0 for the others.
    std::uint64_t lookInVolume(int entry) const;

    bool optionsShown() const;

    // Handlers of the pane's own controls.
    void ToggleSearchOptions();
    void MediaInfoClick();
    void DateCBClick();
    void SizeCBClick();
    void RadioButClick();

    FindFileAnimation* FindFile;
    QLineEdit* FileNames;
    QComboBox* LookIn;
    QPushButton* SearchNow;
    QPushButton* StopSearch;
    QLabel* SOptHiden;
    QFrame* Panel2;
    QLabel* SOptShown;
    QCheckBox* MediaInfo;
    QLineEdit* Artist;
    QLineEdit* Title;
    QCheckBox* DateCB;
    QRadioButton* LastMonths;
    QRadioButton* LastDays;
    QRadioButton* Between;
    QSpinBox* Months;
    QSpinBox* Days;
    QDateTimeEdit* FirstDate;
    QDateTimeEdit* SecondDate;
    QCheckBox* SizeCB;
    QComboBox* LeastMost;
    QSpinBox* SizeEdit;

signals:
    // Any criterion control changed; a run going on takes the new criteria from its next entry on.
    void criteriaChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildOptionsPanel();
    void setPicker(QDateTimeEdit* picker, QTime& time, DateTime value);
    DateTime pickerValue(const QDateTimeEdit* picker, QTime time) const;

    QWidget* m_artistRow = nullptr;
    QWidget* m_titleRow = nullptr;
    QWidget* m_dateRows = nullptr;
    QWidget* m_sizeRow = nullptr;
    QButtonGroup* m_dateKinds = nullptr;
    // The pickers show and edit the date only; the time of day they hold is kept here.
    QTime m_firstTime;
    QTime m_secondTime;
};

}  // namespace quillon
