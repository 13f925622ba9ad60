#include "sitesurveywep.h"

TSiteSurveyWEPFrm* SiteSurveyWEPFrm = nullptr;

TSiteSurveyWEPFrm::TSiteSurveyWEPFrm(TComponent* AOwner) : TForm(AOwner) { BorderStyle = bsNone; }
