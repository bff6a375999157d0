#pragma once

// What changed in one entry of a ScriptCatalogue.
enum class CatalogueChange {
    // The entry was ticked or cleared.
    Tick,
    // Its record's print targets changed.
    Targets,
};

// Follows a ScriptCatalogue, so that a view (the main list) can mirror its
// entries. Every call comes after the change it tells of. The default
// bodies ignore everything.
class ScriptCatalogueListener {
public:
    virtual ~ScriptCatalogueListener();

    // A folder load begins replacing the entries, and has ended: in between
    // the entries are cleared and appended one by one, and a view may hold
    // its redrawing back until the end.
    virtual void loadStarted() {}
    virtual void loadEnded() {}
    // Every entry is gone.
    virtual void catalogueCleared() {}
    // count entries were appended, from index first on.
    virtual void entriesAdded(int first, int count) { (void)first, (void)count; }
    virtual void entryChanged(int index, CatalogueChange change) { (void)index, (void)change; }
};
