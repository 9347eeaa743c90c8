#include "app/automation/AutoTALVODoc.h"

#include "app/AnalysisProject.h"
#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "app/TALVODoc.h"
#include "app/automation/ObjectModel.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/modeldb/ModelCavity.h"
#include "platform/modeldb/ModelData.h"
#include "platform/modeldb/ModelShell.h"
#include "models/ASEAModelData.h"
#include "models/HSEAModelData.h"

namespace {
std::string Stripped(const CDispArgs& args, int i)
{
    std::string name = args.String(i);
    CGfxUtil::RemoveWaveSign(name);
    return name;
}

CBaseProject* ProjectAt(CTALVODoc& doc, int32_t index)
{
    CTALVOProject& c = doc.GetTALVOProject();
    if (index < 0 || index >= c.GetProjectCount())
        ThrowIndexOutOfRange(1);
    return c.GetProject(index);
}

template <class T>
CAutoValue ProjectByName(CTALVODoc& doc, const std::string& name)
{
    CTALVOProject& c = doc.GetTALVOProject();
    for (int i = 0; i < c.GetProjectCount(); ++i)
        if (auto* p = DynamicDowncast<T>(c.GetProject(i)); p && p->GetName() == name)
            return CAutoValue::Object(ExposeElement(p));
    ThrowNameNotFound(1);
}

// A model subsystem of the model project's vehicle model; null without either.
template <class T>
T* ModelSubsystem(CTALVODoc& doc, const std::string& name)
{
    CModelProject* model = doc.GetTALVOProject().GetModelProject();
    CModelData* data = model ? model->GetModelData(0) : nullptr;
    return data ? dynamic_cast<T*>(data->GetSubsystem(name)) : nullptr;
}
} // namespace

CAutoTALVODoc::CAutoTALVODoc(CTALVODoc* doc) : CAutoObject(doc), m_doc(doc) {}

const CDispatchTable& CAutoTALVODoc::GetDispatchTable() const
{
    using W = CAutoTALVODoc;
    static const CDispatchTable table(
        nullptr,
        {
            {"FilePathName",
             DispKind::Property,
             AutoType::String,
             {},
             AUTO_MEMBER(W, return CAutoValue::String(self.Doc().GetPathName());)},
            {"AppVersion",
             DispKind::Property,
             AutoType::String,
             {},
             AUTO_MEMBER(W,
                         return CAutoValue::String(self.Doc().GetFileProperties().GetString(kFilePropFileVersion));)},
            {"ProjectCount",
             DispKind::Property,
             AutoType::Long,
             {},
             AUTO_MEMBER(W, return CAutoValue::Long(self.Doc().GetTALVOProject().GetProjectCount());)},
            {"Project",
             DispKind::Property,
             AutoType::Object,
             {{AutoType::Long, "index"}},
             AUTO_MEMBER(W, return CAutoValue::Object(ExposeElement(ProjectAt(self.Doc(), args.Long(0))));)},
            {"ModelProject",
             DispKind::Property,
             AutoType::Object,
             {},
             AUTO_MEMBER(W, return CAutoValue::Object(ExposeElement(self.Doc().GetTALVOProject().GetModelProject()));)},
            {"DAQProject",
             DispKind::Property,
             AutoType::Object,
             {{AutoType::String, "name"}},
             AUTO_MEMBER(W, return ProjectByName<CDaqProject>(self.Doc(), args.String(0));)},
            {"IsInputSubsystem",
             DispKind::Method,
             AutoType::Bool,
             {{AutoType::String, "name"}},
             AUTO_MEMBER(W,
                         return CAutoValue::Bool(self.Doc().GetTALVOProject().IsInputSubsystem(args.String(0)) != 0);)},
            {"Save",
             DispKind::Method,
             AutoType::Bool,
             {},
             AUTO_MEMBER(W,
                         {
                             const std::string path = self.Doc().GetPathName();
                             return CAutoValue::Bool(!path.empty() && self.Doc().OnSaveDocument(path));
                         })},
            {"SaveAs",
             DispKind::Method,
             AutoType::Bool,
             {{AutoType::String, "path"}},
             AUTO_MEMBER(W,
                         {
                             const std::string path = args.String(0);
                             return CAutoValue::Bool(!path.empty() && self.Doc().OnSaveDocument(path));
                         })},
            {"ProjectName",
             DispKind::Property,
             AutoType::String,
             {{AutoType::Long, "index"}},
             AUTO_MEMBER(W, return CAutoValue::String(ProjectAt(self.Doc(), args.Long(0))->GetName());)},
            {"AnalysisProject",
             DispKind::Property,
             AutoType::Object,
             {{AutoType::String, "name"}},
             AUTO_MEMBER(W, return ProjectByName<CAnalysisProject>(self.Doc(), args.String(0));)},
            {"Subsystems",
             DispKind::Property,
             AutoType::Object,
             {},
             AUTO_MEMBER(W,
                         {
                             // The table lives in the model project: it goes with it.
                             CTALVOProject& c = self.Doc().GetTALVOProject();
                             return CAutoValue::Object(ExposeOpaque(c.GetModelSubsystemTable(), c.GetModelProject()));
                         })},
            {"ASEAModelData",
             DispKind::Property,
             AutoType::Object,
             {},
             AUTO_MEMBER(W,
                         {
                             CModelProject* model = self.Doc().GetTALVOProject().GetModelProject();
                             return CAutoValue::Object(ExposeOpaque(model ? model->GetASEAModelData() : nullptr));
                         })},
            {"HSEAModelData",
             DispKind::Property,
             AutoType::Object,
             {},
             AUTO_MEMBER(W,
                         {
                             CModelProject* model = self.Doc().GetTALVOProject().GetModelProject();
                             return CAutoValue::Object(ExposeOpaque(model ? model->GetHSEAModelData() : nullptr));
                         })},
            {"TargetSubsystem",
             DispKind::Property,
             AutoType::String,
             {},
             AUTO_MEMBER(W, return CAutoValue::String(self.Doc().GetTALVOProject().GetTargetSubsystem());)},
            {"IsStructure",
             DispKind::Method,
             AutoType::Bool,
             {{AutoType::String, "name"}},
             AUTO_MEMBER(W,
                         return CAutoValue::Bool(self.Doc().GetTALVOProject().IsStructure(Stripped(args, 0)) != 0);)},
            {"IsAcoustic",
             DispKind::Method,
             AutoType::Bool,
             {{AutoType::String, "name"}},
             AUTO_MEMBER(W, return CAutoValue::Bool(self.Doc().GetTALVOProject().IsAcoustic(Stripped(args, 0)) != 0);)},
            {"GetSubsystemType",
             DispKind::Method,
             AutoType::Short,
             {{AutoType::String, "name"}},
             AUTO_MEMBER(W,
                         {
                             std::string name = Stripped(args, 0);
                             return CAutoValue::Short(
                                 static_cast<int16_t>(self.Doc().GetTALVOProject().GetSubsystemType(name, 0)));
                         })},
            {"IsConnected",
             DispKind::Method,
             AutoType::Bool,
             {{AutoType::String, "name1"}, {AutoType::String, "name2"}},
             AUTO_MEMBER(W,
                         {
                             CModelProject* model = self.Doc().GetTALVOProject().GetModelProject();
                             return CAutoValue::Bool(
                                 model && model->IsSubsystemConnected(Stripped(args, 0), Stripped(args, 1)) != 0);
                         })},
            {"IsTargetSubsystem",
             DispKind::Method,
             AutoType::Bool,
             {{AutoType::String, "name"}},
             AUTO_MEMBER(
                 W, return CAutoValue::Bool(Stripped(args, 0) == self.Doc().GetTALVOProject().GetTargetSubsystem());)},
            {"GetPlateMass",
             DispKind::Method,
             AutoType::Real,
             {{AutoType::String, "name"}},
             AUTO_MEMBER(W,
                         {
                             auto* s = ModelSubsystem<CModelShell>(self.Doc(), args.String(0));
                             return CAutoValue::Real(s ? s->GetMass() : 0.0);
                         })},
            {"GetPlateArea",
             DispKind::Method,
             AutoType::Real,
             {{AutoType::String, "name"}},
             AUTO_MEMBER(W,
                         {
                             auto* s = ModelSubsystem<CModelShell>(self.Doc(), args.String(0));
                             return CAutoValue::Real(s ? s->GetArea() : 0.0);
                         })},
            {"GetCavityVolume",
             DispKind::Method,
             AutoType::Real,
             {{AutoType::String, "name"}},
             AUTO_MEMBER(W,
                         {
                             auto* s = ModelSubsystem<CModelCavity>(self.Doc(), args.String(0));
                             return CAutoValue::Real(s ? s->GetVolume() : 0.0);
                         })},
            {"GetCavitySurfaceArea",
             DispKind::Method,
             AutoType::Real,
             {{AutoType::String, "name"}},
             AUTO_MEMBER(W,
                         {
                             auto* s = ModelSubsystem<CModelCavity>(self.Doc(), args.String(0));
                             return CAutoValue::Real(s ? s->GetSurfaceArea() : 0.0);
                         })},
            {"DAQDir",
             DispKind::Property,
             AutoType::String,
             {},
             AUTO_MEMBER(W, return CAutoValue::String(CTALVODoc::GetWorkFolderOf(self.Doc().GetPathName()));)},
        });
    return table;
}
