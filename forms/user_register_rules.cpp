// The registration window's input: the check in its fixed order, the e-mail and password rules, the occupations
// offered and the registration record.
#include "forms/user_register.h"

#include "common/dialogs.h"
#include "service/lekora_lib.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace elumira {

namespace {

// An address as the e-mail rule reads it: an optional display name ending in "<", a dot-atom or quoted local
// part, "@", a dotted domain or a bracketed address literal, and ">" exactly when "<" opened it.
const QString kEmailPattern = QStringLiteral(
    R"(^((?>[a-zA-Z\d!#$%&'*+\-/=?^_`{|}~]+\x20*|"((?=[\x01-\x7f])[^"\\]|\\[\x01-\x7f])*"\x20*)*(?<angle><))?((?!\.)(?>\.?[a-zA-Z\d!#$%&'*+\-/=?^_`{|}~]+)+|"((?=[\x01-\x7f])[^"\\]|\\[\x01-\x7f])*")@(((?!-)[a-zA-Z\d\-]+(?<!-)\.)+[a-zA-Z]{2,}|\[(((?(?<!\[)\.)(25[0-5]|2[0-4]\d|[01]?\d?\d)){4}|[a-zA-Z\d\-]*[a-zA-Z\d]:((?=[\x01-\x7f])[^\\\[\]]|\\[\x01-\x7f])+)\])(?(angle)>)$)");

const QString kPasswordPattern = QStringLiteral(R"(^(?=.*[A-Za-z])(?=.*\d)[A-Za-z\d]{8,}$)");

bool isEmpty(const QLineEdit *edit)
{
    return edit->text().isEmpty();
}

bool isEmpty(const QComboBox *list)
{
    return list->currentIndex() < 0 || list->currentText().isEmpty();
}

} // namespace

bool TFormRegistrasi::IsMatch(const QString &Input, const QString &Pattern, QRegularExpression::PatternOptions options)
{
    const QRegularExpression expression(Pattern, options);
    return expression.isValid() && expression.match(Input).hasMatch();
}

bool TFormRegistrasi::IsValidEmailRegEx(const QString &EmailAddress)
{
    return IsMatch(EmailAddress, kEmailPattern);
}

bool TFormRegistrasi::validatePassword(const QString &Pass)
{
    return IsMatch(Pass, kPasswordPattern,
                   QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
}

QStringList TFormRegistrasi::listPekerjaan() const
{
    const std::shared_ptr<TLekoraLib> lekora = m_lekora.lock();
    if (!lekora || !lekora->ClientJson())
        return {};
    QString occupations;
    try {
        occupations = jsonText(jsonObject(*lekora->ClientJson(), "data"), "daftar_pekerjaan");
    } catch (const JsonShapeError &) {
        return {};
    }
    if (occupations.isEmpty())
        return {};
    return occupations.split(QLatin1Char(';'), Qt::KeepEmptyParts);
}

bool TFormRegistrasi::validateInput()
{
    const QString allFields = QStringLiteral("Semua Kolom Wajib Diisi");
    auto fail = [this](const QString &text, QWidget *focus = nullptr) {
        m_dialogs.error(text);
        if (focus)
            focus->setFocus();
        return false;
    };

    if (isEmpty(edKotaLahir) || isEmpty(edName) || isEmpty(edNoIdent))
        return fail(allFields);
    for (const QComboBox *list : {cmbKecamatan, cmbKelurahan, cmbKota, cmbKTP, cmbProvinsi})
        if (isEmpty(list))
            return fail(allFields);
    if (edAlamat->toPlainText().isEmpty())
        return fail(QStringLiteral("Alamat Wajib Diisi"), edAlamat);
    if (isEmpty(cmbPekerjaan) || isEmpty(cmbPendidikan))
        return fail(allFields);
    if (isEmpty(edEmail))
        return fail(allFields);
    if (!IsValidEmailRegEx(edEmail->text()))
        return fail(QStringLiteral("Format E-mail salah"));
    if (isEmpty(edFoto) || isEmpty(edFotoProfil) || isEmpty(edInstansi))
        return fail(allFields);
    if (isEmpty(edPass1))
        return fail(allFields);
    if (edPass1->text() != edPass2->text())
        return fail(QStringLiteral("Ketik Ulang kata sandi anda"), edPass2);
    if (!validatePassword(edPass1->text()))
        return fail(QStringLiteral("Kata Sandi Minimal 8-Karakter dengan kombinasi huruf angka"), edPass1);
    if (isEmpty(edPass2) || isEmpty(edTelepon))
        return fail(allFields);
    return true;
}

Json TFormRegistrasi::registrationRecord() const
{
    auto text = [](const QString &value) { return value.toStdString(); };
    Json record = Json::object();
    record["id_mitra"] = TLekoraLib::kClientId;
    record["username"] = text(edEmail->text());
    record["password"] = text(edPass1->text());
    record["nama"] = text(edName->text());
    record["id_provinsi"] = text(regionId(RegionLevel::Provinsi));
    record["id_kota"] = text(regionId(RegionLevel::Kota));
    record["id_kecamatan"] = text(regionId(RegionLevel::Kecamatan));
    record["id_kelurahan"] = text(regionId(RegionLevel::Kelurahan));
    record["tgl_lahir"] = text(dateTglLahir->date().toString(QStringLiteral("yyyy-MM-dd")));
    record["gender"] = text(m_gender);
    record["nomor_identitas"] = text(edNoIdent->text());
    record["jenis_identitas"] = text(cmbKTP->currentText());
    record["pekerjaan"] = text(cmbPekerjaan->currentText());
    record["pendidikan"] = text(cmbPendidikan->currentText());
    record["alamat"] = text(edAlamat->toPlainText());
    record["kota"] = text(cmbKota->currentText());
    record["no_telepon"] = text(edTelepon->text());
    return record;
}

} // namespace elumira
