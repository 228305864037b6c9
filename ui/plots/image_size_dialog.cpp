#include "image_size_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

namespace vd::ui {
namespace {

QSpinBox* numberBox(QWidget* parent, int largest, const QString& suffix) {
    auto* box = new QSpinBox(parent);
    box->setRange(1, largest);
    box->setSuffix(suffix);
    return box;
}

}  // namespace

ImageSizeDialog::ImageSizeDialog(QSize windowSize, QWidget* parent)
    : QDialog(parent),
      choiceBox(new QComboBox(this)),
      widthBox(numberBox(this, vd::run::largestImageSide, QStringLiteral(" px"))),
      heightBox(numberBox(this, vd::run::largestImageSide, QStringLiteral(" px"))),
      dpiBox(numberBox(this, vd::run::largestImageDpi, QStringLiteral(" dpi"))),
      windowSize_(windowSize) {
    setWindowTitle(QStringLiteral("Image size"));
    choiceBox->addItem(QStringLiteral("Window size (%1 × %2 px)")
                           .arg(windowSize.width())
                           .arg(windowSize.height()));
    choiceBox->addItem(QStringLiteral("Fact sheet 6.5 × 4 in at 300 dpi"));
    choiceBox->addItem(QStringLiteral("Custom"));
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Size:"), choiceBox);
    form->addRow(QStringLiteral("&Width:"), widthBox);
    form->addRow(QStringLiteral("&Height:"), heightBox);
    form->addRow(QStringLiteral("&Resolution:"), dpiBox);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(choiceBox, &QComboBox::currentIndexChanged, this, &ImageSizeDialog::showChoice);
    showChoice(windowChoice);
}

// The numbers follow the choice; only a custom size can be edited.
void ImageSizeDialog::showChoice(int choice) {
    const ImageSize size = choice == factSheetChoice ? factSheetImageSize : ImageSize{windowSize_};
    if (choice != customChoice) {
        widthBox->setValue(size.pixels.width());
        heightBox->setValue(size.pixels.height());
        dpiBox->setValue(size.dpi);
    }
    for (QSpinBox* box : {widthBox, heightBox, dpiBox}) box->setEnabled(choice == customChoice);
}

ImageSize ImageSizeDialog::chosen() const {
    return {QSize(widthBox->value(), heightBox->value()), dpiBox->value()};
}

}  // namespace vd::ui
