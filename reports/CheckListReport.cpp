#include "reports/CheckListReport.h"

#include "reports/CharacterCheckList.h"
#include "reports/PageCountEstimate.h"
#include "reports/ScenarioContext.h"
#include "reports/SceneCheckList.h"

CheckListReport::Outcome CheckListReport::run(const ScenarioContext& context,
                                              ScriptCatalogue& catalogue, const FCString& folder,
                                              CheckListOptions options, Progress& progress,
                                              Notices& notices)
{
    Outcome outcome;
    if (!options.sceneList() && !options.characterList())
        return outcome;

    PageCountEstimate estimate(context);
    outcome.estimateCancelled =
        estimate.run(catalogue, true, progress) == PageCountEstimate::Cancelled;
    outcome.unreadable = estimate.unreadable();

    if (options.sceneList())
        outcome.sceneList = SceneCheckList::write(context, catalogue, folder, options.csv(),
                                                  options.listUnprinted(), progress, notices);
    if (options.characterList())
        outcome.characterList = CharacterCheckList::write(
            context, catalogue, folder, options.csv(), options.listUnprinted(), progress, notices);
    return outcome;
}
