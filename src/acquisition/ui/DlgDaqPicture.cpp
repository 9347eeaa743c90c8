#include "acquisition/ui/DlgDaqPicture.h"

#include "platform/ui/MultiFileDialog.h"
#include "platform/base/Format.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "views/PictureElement.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

CDlgDaqPicture::Opener& OpenerSlot()
{
    static CDlgDaqPicture::Opener opener;
    return opener;
}

constexpr int kPreviewWidth = 400;
constexpr int kPreviewHeight = 300;

} // namespace

CDlgDaqPicture::CDlgDaqPicture(const std::string& item, const std::string& workFolder, QWidget* parent)
    : CZuDialog(parent, IDD), m_folder(workFolder, item)
{
    setObjectName(QStringLiteral("DlgDaqPicture"));
    setWindowTitle(QStringLiteral("Pictures"));
    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("Control%1").arg(IDC_PREVIEW));
    m_preview->setFixedSize(kPreviewWidth, kPreviewHeight);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setFrameShape(QFrame::StyledPanel);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("Control%1").arg(IDC_LIST));
    m_list->setMinimumWidth(200);
    m_add = new QPushButton(tr("Add..."), this);
    m_delete = new QPushButton(tr("Delete"), this);
    m_open = new QPushButton(tr("Open"), this);
    m_add->setObjectName(QStringLiteral("Control%1").arg(IDC_ADD));
    m_delete->setObjectName(QStringLiteral("Control%1").arg(IDC_DELETE));
    m_open->setObjectName(QStringLiteral("Control%1").arg(IDC_OPEN));
    auto* side = new QVBoxLayout;
    side->addWidget(m_list, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(m_add);
    row->addWidget(m_delete);
    row->addWidget(m_open);
    side->addLayout(row);
    auto* body = new QHBoxLayout;
    body->addLayout(side, 1);
    body->addWidget(m_preview);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(buttons);

    connect(m_add, &QPushButton::clicked, this, &CDlgDaqPicture::OnAdd);
    connect(m_delete, &QPushButton::clicked, this, &CDlgDaqPicture::OnDelete);
    connect(m_open, &QPushButton::clicked, this, &CDlgDaqPicture::OnOpen);
    connect(m_list, &QListWidget::currentRowChanged, this, &CDlgDaqPicture::OnSelectionChanged);
}

CDlgDaqPicture::~CDlgDaqPicture() = default;

QPushButton* CDlgDaqPicture::Button(int id) const
{
    switch (id) {
    case IDC_ADD:
        return m_add;
    case IDC_DELETE:
        return m_delete;
    case IDC_OPEN:
        return m_open;
    default:
        return nullptr;
    }
}

void CDlgDaqPicture::SetOpener(Opener opener)
{
    OpenerSlot() = std::move(opener);
}

bool CDlgDaqPicture::OnInitDialog()
{
    setWindowTitle(
        QString::fromStdString(Format("%s - [%s]", windowTitle().toStdString().c_str(), m_folder.GetItem().c_str())));
    m_dAspect = double(m_preview->width()) / double(m_preview->height());
    if (!m_folder.IsValid()) {
        // A name that would reach outside the picture folder gets no pictures at all.
        AfxFormatMessageBox(IDS_NAME_NOT_FOR_PICTURES, MB_OK | MB_ICONEXCLAMATION, m_folder.GetItem().c_str());
        for (QPushButton* b : {m_add, m_delete, m_open})
            b->setEnabled(false);
        return true;
    }
    ListPictures();
    return true;
}

int CDlgDaqPicture::ListPictures()
{
    m_names.clear();
    m_list->clear();
    m_preview->clear();
    const int count = m_folder.List(m_names);
    for (const std::string& name : m_names)
        m_list->addItem(QString::fromStdString(name));
    return count;
}

void CDlgDaqPicture::OnAdd()
{
    if (!m_folder.IsValid())
        return;
    FileChooserOptions options;
    options.filter = kFilter;
    CMultiFileDialog chooser(options);
    if (chooser.DoModal() != IDOK)
        return;
    // A file that cannot be copied is passed over; the others still come in.
    for (const std::string& path : chooser.GetPaths())
        m_folder.AddCopy(path);
    ListPictures();
}

void CDlgDaqPicture::OnDelete()
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= static_cast<int>(m_names.size()))
        return;
    if (AfxMessageBox(IDS_DELETE_SELECTED, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    m_folder.Remove(m_names[static_cast<size_t>(row)]);
    ListPictures();
}

void CDlgDaqPicture::OnOpen()
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= static_cast<int>(m_names.size()))
        return;
    const std::string path = m_folder.PathOf(m_names[static_cast<size_t>(row)]);
    if (path.empty())
        return;
    if (OpenerSlot())
        OpenerSlot()(path);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

QSize CDlgDaqPicture::FitToArea(int width, int height, int areaWidth, int areaHeight)
{
    if (width <= 0 || height <= 0 || areaWidth <= 0 || areaHeight <= 0)
        return QSize();
    const double ratio = double(width) / double(height);
    const double area = double(areaWidth) / double(areaHeight);
    if (ratio > area)
        return QSize(areaWidth, static_cast<int>(areaWidth / ratio));
    return QSize(static_cast<int>(areaHeight * ratio), areaHeight);
}

void CDlgDaqPicture::OnSelectionChanged()
{
    m_preview->clear();
    const int row = m_list->currentRow();
    if (row < 0 || row >= static_cast<int>(m_names.size()))
        return;
    const std::string path = m_folder.PathOf(m_names[static_cast<size_t>(row)]);
    CPictureElement picture;
    if (path.empty() || !picture.LoadPicture(path.c_str())) {
        m_preview->setText(tr("The picture cannot be shown."));
        return;
    }
    const QImage image = picture.GetBitmap().ToImage();
    const QSize size = FitToArea(image.width(), image.height(), m_preview->width(), m_preview->height());
    if (size.isEmpty())
        return;
    m_preview->setPixmap(QPixmap::fromImage(image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}
