#include "app/image_document.h"

#include "core/edit/step_name.h"

namespace korvane::app {

ImageDocument::ImageDocument(QObject* parent)
    : QObject(parent)
{
}

void ImageDocument::within(const Change& change)
{
    ++m_depth;
    change(m_image);
    --m_depth;
}

void ImageDocument::edit(const Change& change, const QString& label)
{
    if (m_depth > 0) {
        change(m_image);
        return;
    }
    const model::RadioImage before = m_image;
    within(change);
    if (m_image == before) return;
    m_history.record(label.isEmpty() ? edit::stepName(before, m_image) : label.toStdString(), before, m_image);
    emit historyChanged();
}

void ImageDocument::replace(const model::RadioImage& image, const QString& label)
{
    edit(
        [this, &image](model::RadioImage& shown) {
            shown = image;
            emit replaced();
        },
        label);
}

void ImageDocument::startFresh(const Change& change)
{
    within(change);
    m_history.reset(m_image);
    emit historyChanged();
}

void ImageDocument::show(const model::RadioImage& image)
{
    within([this, &image](model::RadioImage& shown) {
        shown = image;
        emit replaced();
    });
    emit historyChanged();
}

void ImageDocument::undo()
{
    if (const auto image = m_history.undo()) show(*image);
}

void ImageDocument::redo()
{
    if (const auto image = m_history.redo()) show(*image);
}

} // namespace korvane::app
