// The registration window's background work: the region cascade and sending the registration.
#include "forms/user_register.h"

#include "common/dialogs.h"
#include "service/lekora_lib.h"

#include <QCollator>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSet>

#include <algorithm>

namespace elumira {

namespace {

const char *taskName(TFormRegistrasi::RegionLevel level)
{
    switch (level) {
    case TFormRegistrasi::RegionLevel::Provinsi:
        return "provinsiRequest";
    case TFormRegistrasi::RegionLevel::Kota:
        return "kotaRequest";
    case TFormRegistrasi::RegionLevel::Kecamatan:
        return "kecamatanRequest";
    case TFormRegistrasi::RegionLevel::Kelurahan:
        return "kelurahanRequest";
    }
    return "";
}

QString directoryPath(TFormRegistrasi::RegionLevel level, const QString &parentId)
{
    switch (level) {
    case TFormRegistrasi::RegionLevel::Provinsi:
        return QStringLiteral("/api/generic/provinsi");
    case TFormRegistrasi::RegionLevel::Kota:
        return QStringLiteral("/api/generic/kota/") + parentId;
    case TFormRegistrasi::RegionLevel::Kecamatan:
        return QStringLiteral("/api/generic/kecamatan/") + parentId;
    case TFormRegistrasi::RegionLevel::Kelurahan:
        return QStringLiteral("/api/generic/kelurahan/") + parentId;
    }
    return {};
}

// The regions of one level in the directory's order. A name met twice stops the reading there: the ones
// before it are kept and the failure tells which name it was.
TFormRegistrasi::RegionAnswer fetchRegions(const TLekoraLib &lekora, const QString &path)
{
    TFormRegistrasi::RegionAnswer result;
    try {
        const Json answer = lekora.RegionRequest(path);
        result.answered = true;
        QSet<QString> names;
        for (const Json &element : jsonList(answer, "data")) {
            const QString nama = jsonText(element, "nama");
            if (names.contains(nama)) {
                result.failure = QStringLiteral("The region \"%1\" is listed twice").arg(nama);
                break;
            }
            names.insert(nama);
            result.regions.append({nama, jsonText(element, "id")});
        }
    } catch (const std::exception &error) {
        result.failure = QString::fromUtf8(error.what());
    }
    return result;
}

} // namespace

QComboBox *TFormRegistrasi::regionList(RegionLevel level) const
{
    switch (level) {
    case RegionLevel::Provinsi:
        return cmbProvinsi;
    case RegionLevel::Kota:
        return cmbKota;
    case RegionLevel::Kecamatan:
        return cmbKecamatan;
    case RegionLevel::Kelurahan:
        return cmbKelurahan;
    }
    return nullptr;
}

std::optional<TFormRegistrasi::RegionMap> &TFormRegistrasi::regionMap(RegionLevel level)
{
    return const_cast<std::optional<RegionMap> &>(std::as_const(*this).regionMap(level));
}

const std::optional<TFormRegistrasi::RegionMap> &TFormRegistrasi::regionMap(RegionLevel level) const
{
    switch (level) {
    case RegionLevel::Provinsi:
        return m_provinces;
    case RegionLevel::Kota:
        return m_cities;
    case RegionLevel::Kecamatan:
        return m_districts;
    case RegionLevel::Kelurahan:
        break;
    }
    return m_subDistricts;
}

QString TFormRegistrasi::regionId(RegionLevel level) const
{
    const std::optional<RegionMap> &map = regionMap(level);
    return map ? map->value(regionList(level)->currentText()) : QString();
}

void TFormRegistrasi::setRegionListsEnabled(bool enabled)
{
    for (QComboBox *list : {cmbProvinsi, cmbKota, cmbKecamatan, cmbKelurahan})
        list->setEnabled(enabled);
}

void TFormRegistrasi::setRequestingLabelsVisible(bool visible)
{
    for (QLabel *label : {Label1, Label2, Label3, Label4})
        label->setVisible(visible);
}

void TFormRegistrasi::startRegionTask(RegionLevel level, const QString &parentId)
{
    // The request holds the service client for as long as it runs.
    std::shared_ptr<TLekoraLib> lekora = m_lekora.lock();
    if (!lekora)
        return;
    const QString path = directoryPath(level, parentId);
    RequestTask = runTask<RegionAnswer>(
        QLatin1String(taskName(level)), this,
        [lekora = std::move(lekora), path] { return fetchRegions(*lekora, path); },
        [this, level](RegionAnswer answer) { regionTaskDone(level, std::move(answer)); });
}

void TFormRegistrasi::regionTaskDone(RegionLevel level, RegionAnswer answer)
{
    if (!answer.failure.isEmpty()) {
        m_dialogs.error((level == RegionLevel::Provinsi ? QStringLiteral("Request Error #408: ")
                                                        : QStringLiteral("Request Error : ")) +
                        answer.failure);
    }

    // The provinces get a new map only from an answer; the lower levels start again from an empty one. An
    // answer that arrives after a close request is not taken in.
    std::optional<RegionMap> &map = regionMap(level);
    if (level == RegionLevel::Provinsi)
        map.reset();
    else
        map.emplace();
    if (answer.answered && !m_closing) {
        map.emplace();
        for (const auto &[nama, id] : std::as_const(answer.regions))
            map->insert(nama, id);
    }

    RequestTask.release();
    setRequestingLabelsVisible(false);
    if (!map)
        return;
    fillRegionList(level);
    setRegionListsEnabled(true);
    if (level == RegionLevel::Kelurahan || regionList(level)->count() == 0)
        return;
    const auto next = static_cast<RegionLevel>(static_cast<int>(level) + 1);
    startRegionTask(next, regionId(level));
}

void TFormRegistrasi::fillRegionList(RegionLevel level)
{
    QStringList names = regionMap(level)->keys();
    // Alphabetical order as the member reads it: letters with accents beside their plain letter, case aside.
    QCollator collator{QLocale(QLocale::Indonesian, QLocale::Indonesia)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), [&collator](const QString &a, const QString &b) {
        const int order = collator.compare(a, b);
        return order != 0 ? order < 0 : a < b;
    });
    QComboBox *list = regionList(level);
    list->clear();
    list->addItems(names);
    list->setCurrentIndex(names.isEmpty() ? -1 : 0);
    m_settledIndex[static_cast<int>(level)] = list->currentIndex();
}

void TFormRegistrasi::cmbProvinsiChange()
{
    regionChange(RegionLevel::Provinsi);
}

void TFormRegistrasi::cmbKotaChange()
{
    regionChange(RegionLevel::Kota);
}

void TFormRegistrasi::cmbKecamatanChange()
{
    regionChange(RegionLevel::Kecamatan);
}

void TFormRegistrasi::regionChange(RegionLevel level)
{
    QComboBox *list = regionList(level);
    if (list->currentText().isEmpty())
        return;
    const QString id = regionId(level);
    if (!RequestTask.isNull()) {
        if (level != RegionLevel::Kecamatan)
            m_dialogs.information(QStringLiteral("Harap Tunggu..."));
        // The lists below still belong to the entry chosen before; the list goes back to it so that what the
        // member sees and what would be sent agree.
        list->setCurrentIndex(m_settledIndex[static_cast<int>(level)]);
        return;
    }
    m_settledIndex[static_cast<int>(level)] = list->currentIndex();
    setRegionListsEnabled(false);
    setRequestingLabelsVisible(true);
    startRegionTask(static_cast<RegionLevel>(static_cast<int>(level) + 1), id);
}

void TFormRegistrasi::btnKirimClick()
{
    if (!validateInput())
        return;
    const Json record = registrationRecord();
    if (!RequestTask.isNull()) {
        m_dialogs.information(QStringLiteral("Harap Tunggu..."));
        return;
    }
    std::shared_ptr<TLekoraLib> lekora = m_lekora.lock();
    if (!lekora)
        return;
    btnKirim->setEnabled(false);
    setRegionListsEnabled(false);
    const QString data = QString::fromStdString(record.dump());
    const QString identitas = edFoto->text();
    const QString foto = edFotoProfil->text();
    RequestTask = runTask<Json>(
        QStringLiteral("executeRegister"), this,
        [lekora = std::move(lekora), data, identitas, foto] {
            return lekora->RegistrationRequest(data, identitas, foto);
        },
        [this](Json answer) { registerTaskDone(std::move(answer)); });
}

void TFormRegistrasi::registerTaskDone(Json answer)
{
    RequestTask.release();
    setRequestingLabelsVisible(false);
    btnKirim->setEnabled(true);
    if (!answer.is_object() || jsonText(answer, "code").isEmpty()) {
        m_dialogs.warning(QStringLiteral("Registrasi Gagal, Cek Koneksi Internet anda"));
    } else if (!hasCode(answer, "200")) {
        m_dialogs.error(jsonText(answer, "msg"));
    } else {
        m_dialogs.information(
            QStringLiteral("Pendaftaran Berhasil. Silahkan Cek e-mail yang anda masukan untuk diverifikasi"));
        close();
    }
}

} // namespace elumira
