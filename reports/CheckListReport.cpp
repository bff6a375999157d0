#include "reports/CheckListReport.h"

#include "reports/CharacterCheckList.h"
#include "reports/CheckListDialogModel.h"
#include "reports/PageCountEstimate.h"
#include "reports/ScenarioContext.h"
#include "reports/SceneCheckList.h"

CheckListReport::Outcome CheckListReport::run(const ScenarioContext& context,
                                              const UxListViewControl& list, const Dialog& dialog)
{
    Outcome outcome;
    CheckListDialogModel model(context.folder, CheckListOptions());
    if (!dialog(model))
        return outcome;
    outcome.confirmed = true;
    const CheckListOptions options = model.options();
    if (!options.sceneList() && !options.characterList())
        return outcome;

    PageCountEstimate estimate(context);
    outcome.estimateCancelled = estimate.run(list, true) == PageCountEstimate::Cancelled;
    outcome.unreadable = estimate.unreadable();

    if (options.sceneList())
        outcome.sceneList = SceneCheckList::write(context, list, model.folder(), options.csv(),
                                                  options.listUnprinted());
    if (options.characterList())
        outcome.characterList = CharacterCheckList::write(context, list, model.folder(),
                                                          options.csv(), options.listUnprinted());
    return outcome;
}
