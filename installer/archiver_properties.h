// The archive engine's component classes in the class registry: the
// installer's stored form creates its Archiver by class name and sets the
// archiver's published properties by name. The engine itself knows nothing
// of the registry; the installer publishes it from here.
#pragma once

namespace installer {

// TZipBaseArchiver, TZipArchiver (creatable), TZipOptions and
// TZipSpanningOptions. Runs once.
void RegisterArchiverProperties();

}  // namespace installer
