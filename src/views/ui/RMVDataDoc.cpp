#include "views/ui/RMVDataDoc.h"

CRMVDataDoc::CRMVDataDoc(CTALVOProject* project) : CRpmDataDoc(project) {}

CRMVDataDoc::~CRMVDataDoc() = default;
