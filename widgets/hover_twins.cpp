#include "widgets/hover_twins.h"

#include "widgets/picture.h"

void HoverTwins::setTwins(std::initializer_list<TPicture*> litTwins)
{
    litTwins_.assign(litTwins);
}

void HoverTwins::showOnly(TPicture* lit)
{
    for (TPicture* twin : litTwins_)
        twin->setVisible(twin == lit);
    window_.setCursor(lit ? Qt::PointingHandCursor : Qt::ArrowCursor);
}
