// The WEP key dialog of the site survey: asks for the level and key of a
// protected network and hands back a WEP record.
#pragma once
#include "toolkit/form.h"

class TSiteSurveyWEPFrm : public TForm {
public:
    CLASS_NAME(TSiteSurveyWEPFrm)
    explicit TSiteSurveyWEPFrm(TComponent* AOwner);
};

extern TSiteSurveyWEPFrm* SiteSurveyWEPFrm;
