// The program's globals.
#include "app/startup/program_globals.h"

int32_t ProcessorGeneration = 0;
OwnedText WorkDir;
OwnedText ArchivePath;
OwnedText ExtractorPath;
OwnedText DevconPath;
OwnedText DismPath;
OwnedText LastBrowsedFolder;

void ReleaseProgramGlobals() {
    for (OwnedText* global : {&WorkDir, &ArchivePath, &ExtractorPath, &DevconPath, &DismPath, &LastBrowsedFolder})
        global->Attach(nullptr);
}
