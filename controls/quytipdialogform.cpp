#include "controls/quytipdialogform.h"

#include "controls/colorpanel.h"
#include "controls/imagecolorpanel.h"
#include "controls/qtcolor.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TQuyTipDialogForm::TQuyTipDialogForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("QuyTipDialogForm"));
    setWindowTitle(QStringLiteral("Tip of the Day"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);

    m_panel = new TcolorPanel(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->SetColor(clInfoBk);
    m_panel->SetBevelOuter(TPanelBevel::bvLowered);
    m_panel->SetBevelWidth(2);

    m_label1 = new QLabel(QStringLiteral("Did you know..."), m_panel);
    m_label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = m_label1->font();
    heading.setBold(true);
    heading.setPointSize(heading.pointSize() + 4);
    m_label1->setFont(heading);

    m_label3 = new QLabel(m_panel);
    m_label3->setObjectName(QStringLiteral("Label3"));
    m_label3->setWordWrap(true);
    m_label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label3->setTextFormat(Qt::PlainText);
    m_label3->setMinimumSize(280, 100);

    m_image = new TimageColorPanel(m_panel);
    m_image->setObjectName(QStringLiteral("image"));
    m_image->SetImageDrawStyle(TimageDrawStyle::idsScale);
    m_image->SetImageHorizontalAlignment(TAlignment::taCenter);
    m_image->SetImageVerticalAlignment(TverticalAlignment::tvaCenter);
    m_image->SetColor(clInfoBk);
    m_image->SetBevelOuter(TPanelBevel::bvNone);
    m_image->SetBevelInner(TPanelBevel::bvNone);
    m_image->setFixedSize(64, 64);

    QPalette info = m_label3->palette();
    info.setColor(QPalette::WindowText, ToQColor(clInfoText));
    m_label1->setPalette(info);
    m_label3->setPalette(info);

    auto* text = new QVBoxLayout;
    text->addWidget(m_label1);
    text->addWidget(m_label3, 1);
    auto* inside = new QHBoxLayout(m_panel);
    inside->addWidget(m_image, 0, Qt::AlignTop);
    inside->addLayout(text, 1);

    m_button1 = new QPushButton(QStringLiteral("Next Tip"), this);
    m_button1->setObjectName(QStringLiteral("Button1"));
    m_button2 = new QPushButton(QStringLiteral("Close"), this);
    m_button2->setObjectName(QStringLiteral("Button2"));
    m_button2->setDefault(true);
    m_checkBox = new QCheckBox(QStringLiteral("Display Tips on Startup"), this);
    m_checkBox->setObjectName(QStringLiteral("CheckBox"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_checkBox);
    buttons->addStretch(1);
    buttons->addWidget(m_button1);
    buttons->addWidget(m_button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_panel, 1);
    layout->addLayout(buttons);

    connect(m_button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(m_button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

TQuyTipDialogForm::~TQuyTipDialogForm() = default;

void TQuyTipDialogForm::SetPicture(const QImage& picture)
{
    m_image->SetImage(picture);
    m_image->setVisible(!m_image->Image().Empty());
}

bool TQuyTipDialogForm::ShowAtStart() const
{
    return m_checkBox->isChecked();
}

void TQuyTipDialogForm::SetShowAtStart(bool value)
{
    m_checkBox->setChecked(value);
}

void TQuyTipDialogForm::ClearTipText()
{
    m_label3->clear();
}

void TQuyTipDialogForm::FormShow()
{
    if (m_tips.Empty()) {
        m_tips.Add("No Tips Available!");
    }
    m_button1->setEnabled(m_tips.Count() != 1);
    if (m_index < 0 || m_index >= m_tips.Count()) {
        m_index = 0;
    }
    ShowTip();
}

void TQuyTipDialogForm::Button1Click()
{
    if (m_tips.Empty()) {
        return;
    }
    ++m_index;
    if (m_index >= m_tips.Count()) {
        m_index = 0;
    }
    ShowTip();
}

void TQuyTipDialogForm::Button2Click()
{
    accept();
}

void TQuyTipDialogForm::showEvent(QShowEvent* event)
{
    FormShow();
    const QScreen* screen = isWindow() ? QGuiApplication::primaryScreen() : nullptr;
    if (screen) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::showEvent(event);
}

void TQuyTipDialogForm::ShowTip()
{
    m_label3->setText(QString::fromStdString(m_tips[m_index]));
}
