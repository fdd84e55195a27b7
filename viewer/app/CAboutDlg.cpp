#include "viewer/app/CAboutDlg.h"

#include <QCheckBox>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedLayout>
#include <QVBoxLayout>

#include <opencv2/core/version.hpp>
#include <CGAL/version.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <fontconfig/fontconfig.h>
#include <pugixml.hpp>
#include <nanoflann.hpp>

#include "platform/IProfile.h"

namespace {

constexpr const char* kSection = "SectionGlView";
constexpr const char* kLicenseKey = "psKeyLicenseView";

QString Block(const QString& heading, const QString& body)
{
    return "\r\n■ " + heading + "\r\n" + body + "\r\n";
}

}  // namespace

QString CAboutDlg::AgreementText()
{
    return QString::fromUtf8(
        "ソフトウェア使用許諾契約\r\n"
        "\r\n"
        "第1条（目的）本契約は、本ソフトウェアの使用条件を定めるものです。\r\n"
        "第2条（使用許諾）利用者は、本ソフトウェアを測量データの閲覧と編集のために使用できます。\r\n"
        "第3条（禁止事項）利用者は、本ソフトウェアを改変して再配布し、または権利表示を削除してはなりません。\r\n"
        "第4条（第三者のソフトウェア）本ソフトウェアが利用するライブラリには、それぞれのライセンスが適用されます"
        "（「LICENSE」を参照してください）。\r\n"
        "第5条（免責）本ソフトウェアの使用により生じた損害について、提供者は責任を負いません。\r\n"
        "第6条（契約の終了）利用者が本契約に違反した場合、本契約は直ちに終了します。\r\n"
        "\r\n"
        "2026年12月1日制定\r\n");
}

QString CAboutDlg::LicenceText()
{
    QString text = "This build of Tessara links the following libraries.\r\n";
    text += Block(QString("Qt %1 (Core, Gui, Widgets, OpenGL, OpenGLWidgets)").arg(qVersion()),
                  "Copyright (C) The Qt Company Ltd. and other contributors.\r\n"
                  "Used under the GNU Lesser General Public License version 3.");
    text += Block(QString("OpenCV %1 (core, imgproc, imgcodecs)").arg(CV_VERSION),
                  "Copyright (C) the OpenCV contributors.\r\nLicensed under the Apache License, Version 2.0.");
    text += Block(QString("CGAL %1").arg(CGAL_VERSION_STR),
                  "Copyright (C) the CGAL project contributors.\r\n"
                  "Triangulation packages used under the GNU General Public License version 3 or later;\r\n"
                  "support packages under the GNU Lesser General Public License version 3 or later.");
    text += Block("GMP and MPFR (through CGAL)",
                  "Copyright (C) the Free Software Foundation.\r\n"
                  "Used under the GNU Lesser General Public License version 3 or later.");
    text += Block("Boost (through CGAL)", "Boost Software License, Version 1.0.");
    text += Block(QString("nanoflann %1.%2.%3")
                      .arg((NANOFLANN_VERSION >> 8) & 0xF)
                      .arg((NANOFLANN_VERSION >> 4) & 0xF)
                      .arg(NANOFLANN_VERSION & 0xF),
                  "Copyright (C) 2008-2009 Marius Muja, David G. Lowe; (C) 2011 Jose Luis Blanco.\r\n"
                  "BSD License (2-clause).");
    text += Block(QString("pugixml %1.%2").arg(PUGIXML_VERSION / 1000).arg(PUGIXML_VERSION % 1000 / 10),
                  "Copyright (C) Arseny Kapoulkine.\r\nMIT License.");
    text += Block(QString("FreeType %1.%2.%3").arg(FREETYPE_MAJOR).arg(FREETYPE_MINOR).arg(FREETYPE_PATCH),
                  "Portions of this software are copyright (C) The FreeType Project (www.freetype.org).\r\n"
                  "All rights reserved. Used under the FreeType License.");
    text += Block(QString("Fontconfig %1.%2.%3").arg(FC_MAJOR).arg(FC_MINOR).arg(FC_REVISION),
                  "Copyright (C) Keith Packard and others.\r\nMIT-style licence.");
    text += Block("Mesa (OpenGL)", "Copyright (C) the Mesa contributors.\r\nMIT License.");
    text += Block("IPAGothic font", "Copyright (C) Information-technology Promotion Agency, Japan (IPA).\r\n"
                                    "IPA Font License Agreement v1.0.");
    return text;
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("ORVANE SurfLook(Free)について");
    QFont dialogFont = font();
    dialogFont.setPointSize(9);
    setFont(dialogFont);
    resize(660, 500);

    m_agreementRadio = new QRadioButton("使用許諾契約", this);
    m_licenceRadio = new QRadioButton("LICENSE", this);
    m_startupCheck = new QCheckBox("起動時にこのメッセージを表示する", this);
    auto* top = new QHBoxLayout;
    top->addWidget(m_agreementRadio);
    top->addWidget(m_licenceRadio);
    top->addStretch(1);
    top->addWidget(m_startupCheck);

    m_agreement = new QPlainTextEdit(this);
    m_licence = new QPlainTextEdit(this);
    for (QPlainTextEdit* edit : {m_agreement, m_licence}) {
        edit->setReadOnly(true);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    m_agreement->setPlainText(AgreementText());
    m_licence->setPlainText(LicenceText());
    // One place for both texts: the stack gives the shown page the whole area.
    m_pages = new QStackedLayout;
    m_pages->addWidget(m_agreement);
    m_pages->addWidget(m_licence);

    auto* version = new QLabel(QString::fromUtf8("Tessara\u3000Version ") + QStringLiteral(TESSARA_VERSION), this);
    version->setAlignment(Qt::AlignCenter);
    auto* notice = new QLabel("ORVANE SurfLook(Free) 互換の測量データ ビューアです。", this);
    notice->setAlignment(Qt::AlignCenter);
    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    auto* bottom = new QGridLayout;
    bottom->addWidget(version, 0, 0);
    bottom->addWidget(notice, 1, 0);
    bottom->addWidget(ok, 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(m_pages, 1);
    layout->addLayout(bottom);

    connect(ok, &QPushButton::clicked, this, &CAboutDlg::accept);
    connect(m_agreementRadio, &QRadioButton::toggled, this, [this](bool on) {
        if (on) OnAgreementRadio();
    });
    connect(m_licenceRadio, &QRadioButton::toggled, this, [this](bool on) {
        if (on) OnLicenseRadio();
    });
    m_agreementRadio->setChecked(true);
    OnAgreementRadio();

    tessara::IProfile* profile = tessara::AppProfile();
    const int show = profile == nullptr ? 1 : profile->GetProfileInt(kSection, kLicenseKey, 1);
    m_startupCheck->setChecked(show != 0);
}

void CAboutDlg::OnAgreementRadio()
{
    m_pages->setCurrentWidget(m_agreement);
}

void CAboutDlg::OnLicenseRadio()
{
    m_pages->setCurrentWidget(m_licence);
}

void CAboutDlg::accept()
{
    if (tessara::IProfile* profile = tessara::AppProfile()) {
        profile->WriteProfileInt(kSection, kLicenseKey, m_startupCheck->isChecked() ? 1 : 0);
    }
    QDialog::accept();
}

void ShowAboutDialog()
{
    CAboutDlg dialog;
    dialog.exec();
}
