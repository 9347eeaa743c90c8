#pragma once
// A photograph or drawing attached to the project's data tree: an element that owns one bitmap.
#include "platform/elements/MElement.h"
#include "views/DIBitmap.h"

#include <string>

class QPainter;
class QRect;

class CPictureElement : public CMElement
{
    DECLARE_SERIAL(CPictureElement)

public:
    static constexpr uint32_t kSchema = 1;

    CPictureElement(); // the class factory: no name
    explicit CPictureElement(const std::string& name);
    ~CPictureElement() override;

    // Draws the picture centred in the client rectangle.
    virtual void Draw(QPainter& painter, const QRect& client) const;
    // False for no path; else true when the bitmap loaded the picture.
    bool LoadPicture(const char* path);

    CDIBitmap& GetBitmap() { return m_bitmap; }
    const CDIBitmap& GetBitmap() const { return m_bitmap; }

    // The element, then the bitmap.
    void Serialize(CArchive& ar) override;

private:
    CDIBitmap m_bitmap;
};
