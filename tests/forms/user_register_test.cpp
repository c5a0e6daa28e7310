// The registration window on real widgets against the demo library service: the region cascade, the input check,
// closing while a task runs, and the registration on the wire.
#include "demo/catalogue.h"
#include "forms/user_register.h"
#include "tests/support/client_on_demo.h"
#include "tests/support/test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <functional>

namespace elumira::test {
namespace {

using Level = TFormRegistrasi::RegionLevel;

QStringList items(const QComboBox *list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names.append(list->itemText(i));
    return names;
}

// A name as a reader sorts it: accents and letter case aside.
QString readingKey(const QString &name)
{
    QString key;
    for (const QChar c : name.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            key.append(c.toLower());
    return key;
}

bool readingOrder(const QStringList &names)
{
    for (qsizetype i = 1; i < names.size(); ++i)
        if (readingKey(names[i - 1]) > readingKey(names[i]))
            return false;
    return true;
}

class UserRegisterTest : public ClientOnDemo
{
protected:
    void SetUp() override
    {
        ClientOnDemo::SetUp();
        if (HasFatalFailure())
            return;
        form = std::make_unique<TFormRegistrasi>(lekora, dialogs);
        ASSERT_TRUE(photos.isValid());
        identityPhoto = photos.filePath(QStringLiteral("ktp wayan.jpg"));
        profilePhoto = photos.filePath(QStringLiteral("profil.png"));
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(QColor(40, 90, 160));
        ASSERT_TRUE(picture.save(identityPhoto, "JPEG"));
        ASSERT_TRUE(picture.save(profilePhoto, "PNG"));
    }

    void TearDown() override
    {
        if (form)
            waitUntil([this] { return form->RequestTask.isNull(); });
        form.reset();
        ClientOnDemo::TearDown();
    }

    // The regions below a parent ("" for the provinces) as the directory lists them.
    std::vector<demo::Region> regions(const std::string &parentId) const
    {
        return service->catalogue().regions(parentId);
    }

    std::string idOf(const std::string &parentId, const QString &name) const
    {
        for (const demo::Region &r : regions(parentId))
            if (QString::fromStdString(r.name) == name)
                return r.id;
        return {};
    }

    QComboBox *list(Level level) const
    {
        QComboBox *lists[] = {form->cmbProvinsi, form->cmbKota, form->cmbKecamatan, form->cmbKelurahan};
        return lists[static_cast<int>(level)];
    }

    // The id of the entry a list shows.
    std::string selectedId(Level level) const
    {
        std::string parent;
        for (int l = 0; l < static_cast<int>(level); ++l)
            parent = idOf(parent, list(static_cast<Level>(l))->currentText());
        return idOf(parent, list(level)->currentText());
    }

    bool cascadeDone() const { return form->RequestTask.isNull() && form->cmbKelurahan->count() > 0; }

    void showAndWaitForCascade()
    {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        ASSERT_TRUE(waitUntil([this] { return cascadeDone(); }));
    }

    // Picks the next entry of a list as the member does, with the keyboard.
    void chooseNext(QComboBox *list)
    {
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
    }

    void fillValid()
    {
        form->edKotaLahir->setText(QStringLiteral("Singaraja"));
        form->edName->setText(QStringLiteral("Wayan Sudarma"));
        form->edNoIdent->setText(QStringLiteral("5108012309900001"));
        form->cmbKTP->setCurrentText(QStringLiteral("SIM"));
        form->edAlamat->setPlainText(QStringLiteral("Jl. Kenanga No. 7\nBanjar Tegal"));
        form->cmbPekerjaan->setCurrentText(QStringLiteral("Wiraswasta"));
        form->cmbPendidikan->setCurrentText(QStringLiteral("Strata 1 "));
        form->edEmail->setText(QStringLiteral("wayan.sudarma@telmarin.example"));
        form->edFoto->setText(identityPhoto);
        form->edFotoProfil->setText(profilePhoto);
        form->edInstansi->setText(QStringLiteral("SMA Negeri 1 Singaraja"));
        form->edPass1->setText(QStringLiteral("Rahasia99"));
        form->edPass2->setText(QStringLiteral("Rahasia99"));
        form->edTelepon->setText(QStringLiteral("081234567890"));
        form->dateTglLahir->setDate(QDate(1990, 9, 23));
        QTest::mouseClick(form->rdWanita, Qt::LeftButton);
    }

    bool registered() const
    {
        return shown(QStringLiteral("Pendaftaran Berhasil. Silahkan Cek e-mail yang anda masukan untuk diverifikasi"));
    }

    std::unique_ptr<TFormRegistrasi> form;
    QTemporaryDir photos;
    QString identityPhoto;
    QString profilePhoto;
};

TEST_F(UserRegisterTest, creation_showsEveryFieldWithItsFixedListsAndDefaults)
{
    EXPECT_EQ(form->size(), QSize(785, 496));
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form->btnClose->text(), QString(QChar(0xF057)));
    EXPECT_EQ(form->btnKirim->text(), QStringLiteral("Kirim Registrasi*"));
    EXPECT_TRUE(form->lblNotice->font().italic());
    EXPECT_TRUE(form->rdPria->isChecked());
    EXPECT_EQ(items(form->cmbKTP), QStringList({QStringLiteral("KTP"), QStringLiteral("SIM"),
                                                QStringLiteral("Kartu Pelajar"), QStringLiteral("Lainnya")}));
    EXPECT_EQ(form->cmbKTP->currentText(), QStringLiteral("KTP"));
    EXPECT_EQ(form->dateTglLahir->date(), QDate(1990, 1, 1));
    EXPECT_EQ(items(form->cmbPendidikan),
              QStringList({QStringLiteral("Sekolah Dasar / Sederajat"),
                           QStringLiteral("Sekolah Menengah Pertama / Sederajat"),
                           QStringLiteral("Sekolah Menengah Atas / Sederajat "), QStringLiteral("Diploma 1 "),
                           QStringLiteral("Diploma 2"), QStringLiteral("Diploma 3"), QStringLiteral("Diploma 4"),
                           QStringLiteral("Politeknik"), QStringLiteral("Strata 1 "), QStringLiteral("Strata 2"),
                           QStringLiteral("Strata 3")}));
    EXPECT_EQ(form->cmbPendidikan->currentIndex(), -1);
    EXPECT_EQ(form->edEmail->toolTip(), QStringLiteral("E-mail ini digunakan untuk mengakses akun perpustakaan anda"));
    EXPECT_EQ(form->edPass1->toolTip(), QStringLiteral("Kata sandi yang digunakan untuk mengakses perpustakaan ini"));
    EXPECT_EQ(form->edPass2->toolTip(), QStringLiteral("Ketik ulang kata sandi anda"));
    EXPECT_EQ(form->edPass1->echoMode(), QLineEdit::Password);
    EXPECT_EQ(form->edPass2->echoMode(), QLineEdit::Password);
    EXPECT_EQ(form->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, form->edPass1), '*');
    EXPECT_TRUE(form->edFoto->isReadOnly());
    EXPECT_TRUE(form->edFotoProfil->isReadOnly());

    // The telephone takes digits only.
    QTest::keyClicks(form->edTelepon, QStringLiteral("08a1-2 3"));
    EXPECT_EQ(form->edTelepon->text(), QStringLiteral("08123"));
}

TEST_F(UserRegisterTest, show_fillsEveryRegionLevelSortedWithItsFirstEntrySelected)
{
    form->show();
    // At once: the lower lists empty and disabled, the labels telling that data is on its way.
    EXPECT_FALSE(form->cmbKota->isEnabled());
    EXPECT_TRUE(form->Label1->isVisible());
    ASSERT_TRUE(waitUntil([this] { return cascadeDone(); }));

    EXPECT_EQ(items(form->cmbProvinsi), QStringList({QStringLiteral("Éndah Raya"), QStringLiteral("Kepulauan Bentala"),
                                                     QStringLiteral("Lumira Selatan"), QStringLiteral("Sarindu Barat"),
                                                     QStringLiteral("Telmarin Raya")}));
    std::string parent;
    for (const Level level : {Level::Provinsi, Level::Kota, Level::Kecamatan, Level::Kelurahan}) {
        QComboBox *shownList = list(level);
        QStringList expected;
        for (const demo::Region &r : regions(parent))
            expected.append(QString::fromStdString(r.name));
        const QStringList names = items(shownList);
        EXPECT_TRUE(readingOrder(names)) << names.join(QLatin1String(", ")).toStdString();
        expected.sort();
        QStringList sortedNames = names;
        sortedNames.sort();
        EXPECT_EQ(sortedNames, expected);
        EXPECT_EQ(shownList->currentIndex(), 0);
        EXPECT_TRUE(shownList->isEnabled());
        parent = idOf(parent, shownList->currentText());
    }
    for (QLabel *label : {form->Label1, form->Label2, form->Label3, form->Label4})
        EXPECT_FALSE(label->isVisible());
    // One request per level.
    EXPECT_EQ(requests("").size(), 4u);

    // The occupations of the partner configuration, nothing chosen.
    EXPECT_EQ(form->cmbPekerjaan->count(), 11);
    EXPECT_EQ(form->cmbPekerjaan->itemText(3), QStringLiteral("TNI/Polri"));
    EXPECT_EQ(form->cmbPekerjaan->currentIndex(), -1);

    // Another province restarts the cascade below it.
    const QString secondProvince = form->cmbProvinsi->itemText(1);
    chooseNext(form->cmbProvinsi);
    EXPECT_FALSE(form->cmbKelurahan->isEnabled());
    EXPECT_TRUE(form->Label4->isVisible());
    ASSERT_TRUE(waitUntil([this] { return cascadeDone() && form->cmbKota->isEnabled(); }));
    EXPECT_EQ(form->cmbProvinsi->currentText(), secondProvince);
    const std::string provinceId = idOf("", secondProvince);
    EXPECT_EQ(form->cmbKota->count(), static_cast<int>(regions(provinceId).size()));
    EXPECT_FALSE(selectedId(Level::Kota).empty());
    EXPECT_FALSE(selectedId(Level::Kelurahan).empty());
    EXPECT_EQ(form->cmbKelurahan->currentIndex(), 0);
}

TEST_F(UserRegisterTest, show_takesTheOccupationsSplitAtEverySemicolon_emptyPiecesKept)
{
    service->control().clearRequests();
    const Json configuration = Json::parse(
        R"({"code":"200","msg":"OK","data":{"warna_button_login":"#123456","warna_hover_button_login":"#654321",)"
        R"("daftar_pekerjaan":"Pelajar;;Nelayan;Guru\/Dosen;"}})");
    answerWith("/api/wl/mitra", configuration.dump());
    ASSERT_TRUE(hasCode(lekora->getClientJson(), "200"));
    showAndWaitForCascade();
    EXPECT_EQ(items(form->cmbPekerjaan), QStringList({QStringLiteral("Pelajar"), QString(), QStringLiteral("Nelayan"),
                                                      QStringLiteral("Guru/Dosen"), QString()}));
}

TEST_F(UserRegisterTest, anotherCityWhileDistrictsLoad_isRefused_anotherDistrictWhileSubDistrictsLoad_isIgnored)
{
    // Every city's districts come slowly, so whichever city comes first keeps its task running for a while.
    for (const demo::Region &province : regions(""))
        for (const demo::Region &city : regions(province.id))
            delay("/api/generic/kecamatan/" + city.id, 1500);
    form->show();
    ASSERT_TRUE(waitUntil([this] { return form->cmbKota->count() > 0 && form->cmbKota->isEnabled(); }));
    ASSERT_FALSE(form->RequestTask.isNull());
    const QString firstCity = form->cmbKota->currentText();
    chooseNext(form->cmbKota);
    EXPECT_TRUE(shown(QStringLiteral("Harap Tunggu...")));
    EXPECT_EQ(form->cmbKota->currentText(), firstCity);
    ASSERT_TRUE(waitUntil([this] { return cascadeDone(); }));
    EXPECT_EQ(requests("/api/generic/kecamatan/" + selectedId(Level::Kota)).size(), 1u);
    EXPECT_EQ(form->cmbKota->currentText(), firstCity);
    service->control().clearFaults();

    // Now the sub-districts come slowly: choosing another district meanwhile does nothing at all.
    for (const demo::Region &province : regions(""))
        for (const demo::Region &city : regions(province.id))
            for (const demo::Region &district : regions(city.id))
                delay("/api/generic/kelurahan/" + district.id, 1500);
    dialogs.clear();
    chooseNext(form->cmbKota);
    ASSERT_TRUE(waitUntil([this] { return form->cmbKecamatan->count() > 0 && form->cmbKecamatan->isEnabled(); }));
    ASSERT_FALSE(form->RequestTask.isNull());
    const QString firstDistrict = form->cmbKecamatan->currentText();
    const size_t before = requests("").size();
    chooseNext(form->cmbKecamatan);
    EXPECT_TRUE(dialogs.boxes().isEmpty());
    EXPECT_EQ(form->cmbKecamatan->currentText(), firstDistrict);
    ASSERT_TRUE(waitUntil([this] { return cascadeDone(); }));
    EXPECT_EQ(requests("").size(), before);
    EXPECT_EQ(form->cmbKecamatan->currentText(), firstDistrict);
    EXPECT_EQ(form->cmbKelurahan->count(), static_cast<int>(regions(selectedId(Level::Kecamatan)).size()));
}

TEST_F(UserRegisterTest, unreachableDirectory_showsItsRequestError_andTheCascadeStopsThere)
{
    drop("/api/generic/provinsi");
    form->show();
    ASSERT_TRUE(waitUntil([this] { return !dialogs.boxes().isEmpty() && form->RequestTask.isNull(); }));
    ASSERT_EQ(dialogs.boxes().size(), 1);
    EXPECT_EQ(dialogs.boxes()[0].kind, Dialogs::Kind::Error);
    EXPECT_TRUE(dialogs.boxes()[0].text.startsWith(QStringLiteral("Request Error #408: ")));
    EXPECT_GT(dialogs.boxes()[0].text.size(), 20);
    EXPECT_EQ(form->cmbProvinsi->count(), 0);
    EXPECT_FALSE(form->Label1->isVisible());
    EXPECT_TRUE(requests("/api/generic/kota/").empty());
    EXPECT_EQ(requests("").size(), 1u);

    // Shown again, the lists fill; a city list that cannot be fetched stays empty while the lists below keep theirs.
    form->close();
    dialogs.clear();
    showAndWaitForCascade();
    const QStringList districts = items(form->cmbKecamatan);
    const QStringList subDistricts = items(form->cmbKelurahan);
    drop("/api/generic/kota/" + idOf("", form->cmbProvinsi->itemText(1)));
    chooseNext(form->cmbProvinsi);
    ASSERT_TRUE(waitUntil([this] { return !dialogs.boxes().isEmpty() && form->RequestTask.isNull(); }));
    EXPECT_TRUE(dialogs.boxes()[0].text.startsWith(QStringLiteral("Request Error : ")))
        << dialogs.boxes()[0].text.toStdString();
    EXPECT_EQ(form->cmbKota->count(), 0);
    EXPECT_EQ(items(form->cmbKecamatan), districts);
    EXPECT_EQ(items(form->cmbKelurahan), subDistricts);
    EXPECT_TRUE(form->cmbProvinsi->isEnabled());
}

// Whatever goes wrong with a level of the region directory, the member is told in that level's error box, the level
// stays empty, the cascade stops there and the lists above can still be used. The provinces are asked for when the
// window shows; a lower level when the member chooses another entry of the level above.
TEST_F(UserRegisterTest, regionDirectory_everyFaultAtEveryLevel_itsErrorBoxAndTheCascadeStopsThere)
{
    const Level levels[] = {Level::Provinsi, Level::Kota, Level::Kecamatan, Level::Kelurahan};
    const char *levelPaths[] = {"/api/generic/provinsi", "/api/generic/kota/", "/api/generic/kecamatan/",
                                "/api/generic/kelurahan/"};
    for (const Level level : levels) {
        const int l = static_cast<int>(level);
        for (const ServiceFault fault : kEveryServiceFault) {
            SCOPED_TRACE(::testing::Message() << levelPaths[l] << ", " << faultName(fault));
            heal();
            form->close();
            dialogs.clear();
            if (level == Level::Provinsi) {
                inject(fault, levelPaths[l]);
                form->show();
            } else {
                showAndWaitForCascade();
                ASSERT_TRUE(dialogs.boxes().isEmpty());
                QComboBox *above = list(static_cast<Level>(l - 1));
                ASSERT_GE(above->count(), 2);
                const std::string parentAbove = l == 1 ? std::string() : selectedId(static_cast<Level>(l - 2));
                inject(fault, levelPaths[l] + idOf(parentAbove, above->itemText(above->currentIndex() + 1)));
                chooseNext(above);
            }
            ASSERT_TRUE(waitUntil([this] { return !dialogs.boxes().isEmpty() && form->RequestTask.isNull(); }, 30000));
            heal();
            QTest::qWait(100);
            ASSERT_EQ(dialogs.boxes().size(), 1);
            const QString text = dialogs.boxes()[0].text;
            const QString prefix = level == Level::Provinsi ? QStringLiteral("Request Error #408: ")
                                                            : QStringLiteral("Request Error : ");
            EXPECT_EQ(dialogs.boxes()[0].kind, Dialogs::Kind::Error);
            EXPECT_TRUE(text.startsWith(prefix) && clearText(text.mid(prefix.size()))) << text.toStdString();
            if (fault == ServiceFault::AuthFailed) {
                EXPECT_EQ(text, prefix + QStringLiteral("Auth Failed"));
            }
            EXPECT_EQ(list(level)->count(), 0);
            EXPECT_FALSE(form->Label1->isVisible());
            for (int above = 0; above < l; ++above)
                EXPECT_TRUE(list(static_cast<Level>(above))->isEnabled());
        }
    }
    // With the service well again, the window fills every level.
    form->close();
    dialogs.clear();
    showAndWaitForCascade();
    EXPECT_TRUE(dialogs.boxes().isEmpty());
}

TEST_F(UserRegisterTest, aNameListedTwice_showsTheErrorAndKeepsTheNamesBeforeIt)
{
    answerWith("/api/generic/provinsi",
               R"({"code":"200","data":[{"id":"81","nama":"Sarindu Barat"},{"id":"82","nama":"Anggrek Timur"},)"
               R"({"id":"83","nama":"Sarindu Barat"},{"id":"84","nama":"Bukit Sari"}]})");
    form->show();
    ASSERT_TRUE(waitUntil([this] { return form->cmbProvinsi->count() > 0; }));
    ASSERT_FALSE(dialogs.boxes().isEmpty());
    EXPECT_TRUE(dialogs.boxes()[0].text.startsWith(QStringLiteral("Request Error #408: ")));
    EXPECT_EQ(items(form->cmbProvinsi),
              QStringList({QStringLiteral("Anggrek Timur"), QStringLiteral("Sarindu Barat")}));
    ASSERT_TRUE(waitUntil([this] { return form->RequestTask.isNull(); }));
    EXPECT_EQ(requests("/api/generic/kota/82").size(), 1u);
}

TEST_F(UserRegisterTest, closeDuringTheCascade_isRefused_andTheLateAnswerIsNotTakenIn)
{
    delay("/api/generic/provinsi", 1000);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(dialogs.boxes().size(), 1);
    EXPECT_EQ(dialogs.boxes()[0].kind, Dialogs::Kind::Information);
    EXPECT_EQ(dialogs.boxes()[0].text, QStringLiteral("Harap Tunggu..."));

    ASSERT_TRUE(waitUntil([this] { return form->RequestTask.isNull(); }));
    QTest::qWait(200);
    EXPECT_EQ(form->cmbProvinsi->count(), 0);
    EXPECT_TRUE(requests("/api/generic/kota/").empty());

    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    showAndWaitForCascade();
    EXPECT_EQ(form->cmbProvinsi->count(), 5);
}

struct InputRow
{
    const char *field;
    const char *message;
    std::function<QWidget *(TFormRegistrasi &)> focus;
};

TEST_F(UserRegisterTest, validateInput_testsTheFieldsInOrder_withTheirMessagesAndFocus)
{
    showAndWaitForCascade();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));

    auto &f = *form;
    auto clear = [&f] {
        for (QLineEdit *edit : {f.edKotaLahir, f.edName, f.edNoIdent, f.edEmail, f.edFoto, f.edFotoProfil, f.edInstansi,
                                f.edPass1, f.edPass2, f.edTelepon})
            edit->clear();
        for (QComboBox *list :
             {f.cmbKecamatan, f.cmbKelurahan, f.cmbKota, f.cmbKTP, f.cmbProvinsi, f.cmbPekerjaan, f.cmbPendidikan})
            list->setCurrentIndex(-1);
        f.edAlamat->clear();
        f.btnKirim->setFocus();
    };
    // Each fill makes one field pass; a row fills everything before its own field.
    const std::vector<std::function<void()>> fills = {
        [&f] { f.edKotaLahir->setText(QStringLiteral("Singaraja")); },
        [&f] { f.edName->setText(QStringLiteral("Wayan Sudarma")); },
        [&f] { f.edNoIdent->setText(QStringLiteral("5108012309900001")); },
        [&f] { f.cmbKecamatan->setCurrentIndex(0); },
        [&f] { f.cmbKelurahan->setCurrentIndex(0); },
        [&f] { f.cmbKota->setCurrentIndex(0); },
        [&f] { f.cmbKTP->setCurrentIndex(0); },
        [&f] { f.cmbProvinsi->setCurrentIndex(0); },
        [&f] { f.edAlamat->setPlainText(QStringLiteral("Jl. Kenanga No. 7")); },
        [&f] { f.cmbPekerjaan->setCurrentIndex(1); },
        [&f] { f.cmbPendidikan->setCurrentIndex(8); },
        [&f] { f.edEmail->setText(QStringLiteral("wayan")); },
        [&f] { f.edEmail->setText(QStringLiteral("wayan@telmarin.example")); },
        [&f] { f.edFoto->setText(QStringLiteral("/tmp/ktp.jpg")); },
        [&f] { f.edFotoProfil->setText(QStringLiteral("/tmp/profil.png")); },
        [&f] { f.edInstansi->setText(QStringLiteral("SMA Negeri 1")); },
        [&f] { f.edPass1->setText(QStringLiteral("pustaka")); },
        [&f] { f.edPass2->setText(QStringLiteral("pustaka")); },
        [&f] {
            f.edPass1->setText(QStringLiteral("pustaka8"));
            f.edPass2->setText(QStringLiteral("pustaka8"));
        },
        [&f] { f.edTelepon->setText(QStringLiteral("081234567890")); },
    };
    const char *all = "Semua Kolom Wajib Diisi";
    auto none = [](TFormRegistrasi &w) -> QWidget * { return w.btnKirim; };
    const InputRow rows[] = {
        {"edKotaLahir", all, none},
        {"edName", all, none},
        {"edNoIdent", all, none},
        {"cmbKecamatan", all, none},
        {"cmbKelurahan", all, none},
        {"cmbKota", all, none},
        {"cmbKTP", all, none},
        {"cmbProvinsi", all, none},
        {"edAlamat", "Alamat Wajib Diisi", [](TFormRegistrasi &w) -> QWidget * { return w.edAlamat; }},
        {"cmbPekerjaan", all, none},
        {"cmbPendidikan", all, none},
        {"edEmail empty", all, none},
        {"edEmail without @", "Format E-mail salah", none},
        {"edFoto", all, none},
        {"edFotoProfil", all, none},
        {"edInstansi", all, none},
        {"edPass1", all, none},
        {"edPass2 different", "Ketik Ulang kata sandi anda", [](TFormRegistrasi &w) -> QWidget * { return w.edPass2; }},
        {"password rule", "Kata Sandi Minimal 8-Karakter dengan kombinasi huruf angka",
         [](TFormRegistrasi &w) -> QWidget * { return w.edPass1; }},
        {"edTelepon", all, none},
    };
    ASSERT_EQ(std::size(rows), fills.size());
    for (size_t i = 0; i < std::size(rows); ++i) {
        clear();
        for (size_t j = 0; j < i; ++j)
            fills[j]();
        dialogs.clear();
        EXPECT_FALSE(form->validateInput()) << rows[i].field;
        ASSERT_EQ(dialogs.boxes().size(), 1) << rows[i].field;
        EXPECT_EQ(dialogs.boxes()[0].kind, Dialogs::Kind::Error) << rows[i].field;
        EXPECT_EQ(dialogs.boxes()[0].buttons, Dialogs::Buttons::Ok) << rows[i].field;
        EXPECT_EQ(dialogs.boxes()[0].text, QString::fromUtf8(rows[i].message)) << rows[i].field;
        EXPECT_EQ(QApplication::focusWidget(), rows[i].focus(*form)) << rows[i].field;
    }
    clear();
    for (const auto &fill : fills)
        fill();
    dialogs.clear();
    EXPECT_TRUE(form->validateInput());
    EXPECT_TRUE(dialogs.boxes().isEmpty());

    // Pressing the button with everything empty names the first check's message and sends nothing.
    clear();
    QTest::mouseClick(form->btnKirim, Qt::LeftButton);
    ASSERT_EQ(dialogs.boxes().size(), 1);
    EXPECT_EQ(dialogs.boxes()[0].text, QString::fromUtf8(all));
    EXPECT_TRUE(requests("/api/wl/executeRegistration").empty());
}

TEST_F(UserRegisterTest, register_sendsTheRecordAndBothPhotosAsOneMultipartRequest_thenCloses)
{
    showAndWaitForCascade();
    fillValid();
    const QString kota = form->cmbKota->currentText();
    QTest::mouseClick(form->btnKirim, Qt::LeftButton);
    EXPECT_FALSE(form->btnKirim->isEnabled());
    EXPECT_FALSE(form->cmbProvinsi->isEnabled());
    ASSERT_TRUE(waitUntil([this] { return registered(); })) << dialogs.boxes().value(0).text.toStdString();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->btnKirim->isEnabled());

    const Json sent = requests("/api/wl/executeRegistration");
    ASSERT_EQ(sent.size(), 1u);
    const Json &request = sent[0];
    EXPECT_EQ(request["method"], "POST");
    std::vector<std::pair<std::string, std::string>> own;
    for (const Json &header : request["headers"]) {
        const std::string name = header[0];
        if (name == "CLIENTID" || name == "OS" || name == "UUID" || name == "KEY" || name == "USERID")
            own.emplace_back(name, header[1]);
    }
    EXPECT_EQ(own, (std::vector<std::pair<std::string, std::string>>{{"CLIENTID", "395"}, {"OS", "WIN"}}));

    const Json &parts = request["parts"];
    ASSERT_EQ(parts.size(), 3u) << request.dump();
    EXPECT_EQ(parts[0]["name"], "data");
    EXPECT_TRUE(parts[0]["filename"].is_null());
    EXPECT_EQ(parts[0]["content_type"], "application/json; charset=utf-8");
    EXPECT_EQ(parts[1]["name"], "foto_identitas");
    EXPECT_EQ(parts[1]["filename"], "ktp wayan.jpg");
    EXPECT_EQ(parts[1]["content_type"], "image/jpeg");
    EXPECT_EQ(parts[1]["size"], QFileInfo(identityPhoto).size());
    EXPECT_EQ(parts[2]["name"], "photo");
    EXPECT_EQ(parts[2]["filename"], "profil.png");
    EXPECT_EQ(parts[2]["content_type"], "image/png");

    const Json record = Json::parse(parts[0]["text"].get<std::string>());
    std::vector<std::string> members;
    for (const auto &member : record.items())
        members.push_back(member.key());
    EXPECT_EQ(members,
              (std::vector<std::string>{"id_mitra", "username", "password", "nama", "id_provinsi", "id_kota",
                                        "id_kecamatan", "id_kelurahan", "tgl_lahir", "gender", "nomor_identitas",
                                        "jenis_identitas", "pekerjaan", "pendidikan", "alamat", "kota", "no_telepon"}));
    for (const auto &member : record.items())
        EXPECT_TRUE(member.value().is_string()) << member.key();
    EXPECT_EQ(record["id_mitra"], "395");
    EXPECT_EQ(record["username"], "wayan.sudarma@telmarin.example");
    EXPECT_EQ(record["password"], "Rahasia99");
    EXPECT_EQ(record["nama"], "Wayan Sudarma");
    EXPECT_EQ(record["tgl_lahir"], "1990-09-23");
    EXPECT_EQ(record["gender"], "P");
    EXPECT_EQ(record["nomor_identitas"], "5108012309900001");
    EXPECT_EQ(record["jenis_identitas"], "SIM");
    EXPECT_EQ(record["pekerjaan"], "Wiraswasta");
    EXPECT_EQ(record["pendidikan"], "Strata 1 ");
    EXPECT_EQ(record["alamat"], "Jl. Kenanga No. 7\nBanjar Tegal");
    EXPECT_EQ(record["kota"], kota.toStdString());
    EXPECT_EQ(record["no_telepon"], "081234567890");
    // The ids are those of the names shown, one level under the other.
    const std::string provinsi = record["id_provinsi"], kotaId = record["id_kota"];
    const std::string kecamatan = record["id_kecamatan"], kelurahan = record["id_kelurahan"];
    EXPECT_EQ(service->catalogue().parentOf(kotaId), provinsi);
    EXPECT_EQ(service->catalogue().parentOf(kecamatan), kotaId);
    EXPECT_EQ(service->catalogue().parentOf(kelurahan), kecamatan);
    EXPECT_EQ(service->catalogue().region(kotaId)->name, kota.toStdString());
}

TEST_F(UserRegisterTest, refusedOrUnsentRegistration_showsWhy_andTheMemberCanSendAgain)
{
    showAndWaitForCascade();
    fillValid();
    form->edEmail->setText(QStringLiteral("bima.pratama@telmarin.example"));
    QTest::mouseClick(form->btnKirim, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([this] { return !dialogs.boxes().isEmpty(); }));
    EXPECT_EQ(dialogs.boxes()[0].kind, Dialogs::Kind::Error);
    EXPECT_EQ(dialogs.boxes()[0].text, QStringLiteral("E-mail bima.pratama@telmarin.example sudah terdaftar"));
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->btnKirim->isEnabled());
    EXPECT_FALSE(form->cmbKota->isEnabled());

    // A photo that cannot be read: its reason, without a marker, and nothing sent.
    dialogs.clear();
    form->edFoto->setText(photos.filePath(QStringLiteral("hilang.jpg")));
    form->edEmail->setText(QStringLiteral("wayan.sudarma@telmarin.example"));
    QTest::mouseClick(form->btnKirim, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([this] { return !dialogs.boxes().isEmpty(); }));
    EXPECT_EQ(dialogs.boxes()[0].kind, Dialogs::Kind::Error);
    EXPECT_TRUE(dialogs.boxes()[0].text.startsWith(QStringLiteral("Cannot open file \"")))
        << dialogs.boxes()[0].text.toStdString();
    EXPECT_TRUE(dialogs.boxes()[0].text.contains(QStringLiteral("hilang.jpg")));
    EXPECT_EQ(requests("/api/wl/executeRegistration").size(), 1u);

    // An answer without a code.
    dialogs.clear();
    form->edFoto->setText(identityPhoto);
    answerWith("/api/wl/executeRegistration", R"({"msg":"OK"})");
    QTest::mouseClick(form->btnKirim, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([this] { return !dialogs.boxes().isEmpty(); }));
    EXPECT_EQ(dialogs.boxes()[0].kind, Dialogs::Kind::Warning);
    EXPECT_EQ(dialogs.boxes()[0].text, QStringLiteral("Registrasi Gagal, Cek Koneksi Internet anda"));
    EXPECT_TRUE(form->isVisible());

    // Corrected, it goes through.
    dialogs.clear();
    QTest::mouseClick(form->btnKirim, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([this] { return registered(); }));
    EXPECT_FALSE(form->isVisible());
}

// Whatever goes wrong with the registration, the member is told in one box, keeps every field as typed and can
// send again.
TEST_F(UserRegisterTest, registration_everyServiceFault_oneClearBoxAndTheMemberCanSendAgain)
{
    showAndWaitForCascade();
    fillValid();
    for (const ServiceFault fault : kEveryServiceFault) {
        SCOPED_TRACE(faultName(fault));
        dialogs.clear();
        inject(fault, "/api/wl/executeRegistration");
        QTest::mouseClick(form->btnKirim, Qt::LeftButton);
        ASSERT_TRUE(waitUntil([this] { return !dialogs.boxes().isEmpty() && form->RequestTask.isNull(); }, 30000));
        heal();
        QTest::qWait(100);
        ASSERT_EQ(dialogs.boxes().size(), 1);
        const QString text = dialogs.boxes()[0].text;
        EXPECT_NE(dialogs.boxes()[0].kind, Dialogs::Kind::Information) << text.toStdString();
        EXPECT_TRUE(clearText(text)) << text.toStdString();
        if (fault == ServiceFault::AuthFailed) {
            EXPECT_EQ(text, QStringLiteral("Auth Failed"));
        }
        EXPECT_TRUE(form->isVisible());
        EXPECT_TRUE(form->btnKirim->isEnabled());
        EXPECT_EQ(form->edEmail->text(), QStringLiteral("wayan.sudarma@telmarin.example"));
        EXPECT_EQ(form->edFoto->text(), identityPhoto);
    }
    dialogs.clear();
    QTest::mouseClick(form->btnKirim, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([this] { return registered(); }));
    EXPECT_FALSE(form->isVisible());
}

TEST_F(UserRegisterTest, closeDuringTheRegistration_isRefusedUntilItHasEnded)
{
    showAndWaitForCascade();
    fillValid();
    delay("/api/wl/executeRegistration", 1000);
    QTest::mouseClick(form->btnKirim, Qt::LeftButton);
    QTest::mouseClick(form->btnClose, Qt::LeftButton);
    EXPECT_TRUE(form->isVisible());
    ASSERT_FALSE(dialogs.boxes().isEmpty());
    EXPECT_EQ(dialogs.boxes()[0].text, QStringLiteral("Harap Tunggu... Proses Registrasi Sedang Berjalan"));
    EXPECT_TRUE(form->closing());
    ASSERT_TRUE(waitUntil([this] { return registered(); }));
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(requests("/api/wl/executeRegistration").size(), 1u);
}

TEST_F(UserRegisterTest, wheelOverAScrollBox_scrollsItOneLine)
{
    showAndWaitForCascade();
    QScrollBar *bar = form->ScrollBox1->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(0);
    QWidget *viewport = form->ScrollBox1->viewport();
    const QPointF at(viewport->width() / 2.0, 5);
    QWheelEvent down(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &down);
    EXPECT_EQ(bar->value(), bar->singleStep());
    // Over a list without the focus the box scrolls and the list keeps its entry.
    bar->setValue(2 * bar->singleStep());
    form->btnKirim->setFocus();
    QWheelEvent overList(QPointF(5, 5), form->cmbKTP->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form->cmbKTP, &overList);
    EXPECT_EQ(bar->value(), bar->singleStep());
    EXPECT_EQ(form->cmbKTP->currentText(), QStringLiteral("KTP"));
}

} // namespace
} // namespace elumira::test
