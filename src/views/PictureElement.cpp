#include "views/PictureElement.h"

#include "platform/archive/Archive.h"

IMPLEMENT_SERIAL(CPictureElement, CMElement, 1 | VERSIONABLE_SCHEMA)

CPictureElement::CPictureElement() = default;

CPictureElement::CPictureElement(const std::string& name) : CMElement(name, nullptr, -1) {}

CPictureElement::~CPictureElement() = default;

void CPictureElement::Draw(QPainter& painter, const QRect& client) const
{
    m_bitmap.Draw(painter, client);
}

bool CPictureElement::LoadPicture(const char* path)
{
    if (!path)
        return false;
    return m_bitmap.LoadPicture(path) > 0;
}

void CPictureElement::Serialize(CArchive& ar)
{
    CMElement::Serialize(ar);
    m_bitmap.Serialize(ar);
}
