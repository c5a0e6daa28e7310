// TFormRegistrasi: the membership application window, with its region lists, input checks and the request.
#pragma once

#include "common/background_task.h"
#include "common/json_read.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QRegularExpression>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QToolButton;
class QWheelEvent;

namespace elumira {

class Dialogs;
class TLekoraLib;

class TFormRegistrasi : public QWidget
{
    Q_OBJECT
public:
    // The region lists, top to bottom.
    enum class RegionLevel { Provinsi, Kota, Kecamatan, Kelurahan };

    // What a region task brings back: whether the directory answered, the names and ids of one level in the
    // directory's order as far as they could be taken in, and the failure's message when something went wrong.
    struct RegionAnswer
    {
        bool answered = false;
        QList<QPair<QString, QString>> regions;
        QString failure;
    };

    TFormRegistrasi(const std::shared_ptr<TLekoraLib> &lekora, Dialogs &dialogs, QWidget *parent = nullptr);
    ~TFormRegistrasi() override;

    void FormShow();
    bool FormCloseQuery();
    void btnCloseClick();
    void btnKirimClick();
    void btnFotoClick();
    void btnFotoProfilClick();
    void rdPriaClick();
    void rdWanitaClick();
    void cmbProvinsiChange();
    void cmbKotaChange();
    void cmbKecamatanChange();
    void ScrollBox1MouseWheelDown(const QPoint &globalPos);
    void ScrollBox1MouseWheelUp(const QPoint &globalPos);
    void ScrollBox2MouseWheelDown(const QPoint &globalPos);
    void ScrollBox2MouseWheelUp(const QPoint &globalPos);

    // The input check: the first field that fails shows its message and ends the check with false.
    bool validateInput();
    // The e-mail rule, also used by the password reset window.
    static bool IsValidEmailRegEx(const QString &EmailAddress);
    // At least 8 ASCII letters and digits, at least one of each.
    static bool validatePassword(const QString &Pass);
    // Whether the Perl-compatible regular expression Pattern matches somewhere in Input.
    static bool IsMatch(const QString &Input, const QString &Pattern,
                        QRegularExpression::PatternOptions options = QRegularExpression::NoPatternOption);
    // The occupations of the partner configuration: daftar_pekerjaan split at every ";", empty pieces kept.
    QStringList listPekerjaan() const;

    // The registration record of the window's present input, with its members in the service's order.
    Json registrationRecord() const;

    // The window's running task (a region request or the registration), or none.
    TaskHandle RequestTask;
    // Set by every close request, cleared when the window is shown.
    bool closing() const { return m_closing; }

    // Controls.
    QWidget *PanelTop = nullptr;
    QToolButton *btnClose = nullptr;
    QLabel *lblTitle = nullptr;
    QScrollArea *ScrollBox1 = nullptr;
    QScrollArea *ScrollBox2 = nullptr;
    QLineEdit *edName = nullptr;
    QRadioButton *rdPria = nullptr;
    QRadioButton *rdWanita = nullptr;
    QLineEdit *edNoIdent = nullptr;
    QComboBox *cmbKTP = nullptr;
    QLineEdit *edKotaLahir = nullptr;
    QDateEdit *dateTglLahir = nullptr;
    QPlainTextEdit *edAlamat = nullptr;
    QComboBox *cmbProvinsi = nullptr;
    QComboBox *cmbKota = nullptr;
    QComboBox *cmbKecamatan = nullptr;
    QComboBox *cmbKelurahan = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *edEmail = nullptr;
    QLineEdit *edTelepon = nullptr;
    QLineEdit *edPass1 = nullptr;
    QLineEdit *edPass2 = nullptr;
    QLineEdit *edInstansi = nullptr;
    QComboBox *cmbPendidikan = nullptr;
    QComboBox *cmbPekerjaan = nullptr;
    QLineEdit *edFoto = nullptr;
    QPushButton *btnFoto = nullptr;
    QLineEdit *edFotoProfil = nullptr;
    QPushButton *btnFotoProfil = nullptr;
    QLabel *lblNotice = nullptr;
    QPushButton *btnKirim = nullptr;

    // Picks a photo file; the product shows an open-file dialog. Returns the chosen path, or empty.
    using PhotoPicker = std::function<QString(QWidget *parent, const QString &filter)>;
    void setPhotoPicker(PhotoPicker picker) { m_pickPhoto = std::move(picker); }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using RegionMap = QHash<QString, QString>;

    void buildWindow();
    QWidget *buildPersonalBox();
    QWidget *buildAccountBox();

    QComboBox *regionList(RegionLevel level) const;
    std::optional<RegionMap> &regionMap(RegionLevel level);
    const std::optional<RegionMap> &regionMap(RegionLevel level) const;
    QString regionId(RegionLevel level) const;
    void setRegionListsEnabled(bool enabled);
    void setRequestingLabelsVisible(bool visible);

    // Starts the task that fetches the level below parentId (none for the provinces) and keeps it in RequestTask.
    void startRegionTask(RegionLevel level, const QString &parentId);
    // The member chose another entry of a region list.
    void regionChange(RegionLevel level);
    // The completion of every region task, on the UI thread.
    void regionTaskDone(RegionLevel level, RegionAnswer answer);
    void registerTaskDone(Json answer);
    // Fills a region list from its map, sorted, with the first entry selected.
    void fillRegionList(RegionLevel level);

    // Scrolls a scroll box one line when the wheel turns with the pointer strictly inside it.
    void scrollBoxWheel(QScrollArea *box, const QPoint &globalPos, int lines);
    // Routes a wheel turn over a scroll box (or over a list in it that has no focus) to the box's handlers.
    bool wheelOverScrollBox(QScrollArea *box, QWheelEvent *event);

    std::weak_ptr<TLekoraLib> m_lekora;
    Dialogs &m_dialogs;
    PhotoPicker m_pickPhoto;

    bool m_closing = false;
    QString m_gender = QStringLiteral("L");
    std::optional<RegionMap> m_provinces;
    std::optional<RegionMap> m_cities;
    std::optional<RegionMap> m_districts;
    std::optional<RegionMap> m_subDistricts;
    // The entry of each list that the lists below it were filled for; a refused change goes back to it.
    int m_settledIndex[4] = {-1, -1, -1, -1};
    int m_wheelRest = 0;
};

} // namespace elumira
