#include "controls/quytipdialogform.h"

#include "controls/colorpanel.h"
#include "controls/imagecolorpanel.h"
#include "controls/qtcolor.h"
#include "controls/windowplacement.h"
#include "platform/qtstring.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TQuyTipDialogForm::TQuyTipDialogForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("QuyTipDialogForm"));
    setWindowTitle(QStringLiteral("Tip of the Day"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);

    panel_ = new TcolorPanel(this);
    panel_->setObjectName(QStringLiteral("Panel1"));
    panel_->SetColor(clInfoBk);
    panel_->SetBevelOuter(TPanelBevel::bvLowered);
    panel_->SetBevelWidth(2);

    label1_ = new QLabel(QStringLiteral("Did you know..."), panel_);
    label1_->setObjectName(QStringLiteral("Label1"));
    QFont heading = label1_->font();
    heading.setBold(true);
    heading.setPointSize(heading.pointSize() + 4);
    label1_->setFont(heading);

    label3_ = new QLabel(panel_);
    label3_->setObjectName(QStringLiteral("Label3"));
    label3_->setWordWrap(true);
    label3_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label3_->setTextFormat(Qt::PlainText);
    label3_->setMinimumSize(280, 100);

    image_ = new TimageColorPanel(panel_);
    image_->setObjectName(QStringLiteral("image"));
    image_->SetImageDrawStyle(TimageDrawStyle::idsScale);
    image_->SetImageHorizontalAlignment(TAlignment::taCenter);
    image_->SetImageVerticalAlignment(TverticalAlignment::tvaCenter);
    image_->SetColor(clInfoBk);
    image_->SetBevelOuter(TPanelBevel::bvNone);
    image_->SetBevelInner(TPanelBevel::bvNone);
    image_->setFixedSize(64, 64);

    QPalette info = label3_->palette();
    info.setColor(QPalette::WindowText, ToQColor(clInfoText));
    label1_->setPalette(info);
    label3_->setPalette(info);

    auto* text = new QVBoxLayout;
    text->addWidget(label1_);
    text->addWidget(label3_, 1);
    auto* inside = new QHBoxLayout(panel_);
    inside->addWidget(image_, 0, Qt::AlignTop);
    inside->addLayout(text, 1);

    button1_ = new QPushButton(QStringLiteral("Next Tip"), this);
    button1_->setObjectName(QStringLiteral("Button1"));
    button2_ = new QPushButton(QStringLiteral("Close"), this);
    button2_->setObjectName(QStringLiteral("Button2"));
    button2_->setDefault(true);
    checkBox_ = new QCheckBox(QStringLiteral("Display Tips on Startup"), this);
    checkBox_->setObjectName(QStringLiteral("CheckBox"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(checkBox_);
    buttons->addStretch(1);
    buttons->addWidget(button1_);
    buttons->addWidget(button2_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel_, 1);
    layout->addLayout(buttons);

    connect(button1_, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(button2_, &QPushButton::clicked, this, [this] { Button2Click(); });
}

TQuyTipDialogForm::~TQuyTipDialogForm() = default;

void TQuyTipDialogForm::SetPicture(const QImage& picture)
{
    image_->SetImage(picture);
    image_->setVisible(!image_->Image().Empty());
}

bool TQuyTipDialogForm::ShowAtStart() const
{
    return checkBox_->isChecked();
}

void TQuyTipDialogForm::SetShowAtStart(bool value)
{
    checkBox_->setChecked(value);
}

void TQuyTipDialogForm::ClearTipText()
{
    label3_->clear();
}

void TQuyTipDialogForm::FormShow()
{
    if (tips_.Empty()) {
        tips_.Add("No Tips Available!");
    }
    button1_->setEnabled(tips_.Count() != 1);
    if (index_ < 0 || index_ >= tips_.Count()) {
        index_ = 0;
    }
    ShowTip();
}

void TQuyTipDialogForm::Button1Click()
{
    if (tips_.Empty()) {
        return;
    }
    ++index_;
    if (index_ >= tips_.Count()) {
        index_ = 0;
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
    if (isWindow())
        CentreOnOwner(*this);
    QDialog::showEvent(event);
}

void TQuyTipDialogForm::ShowTip()
{
    label3_->setText(platform::ToQString(tips_[index_]));
}
