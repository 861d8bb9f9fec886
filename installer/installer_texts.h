// The installer's own texts, Spanish, in UTF-16 as they reach the window.
#pragma once

namespace installer {

inline constexpr char16_t kApplicationTitle[] = u"Instala el Quimora";
inline constexpr char16_t kDefaultFolderName[] = u"ProgramaQuimora18_19";
inline constexpr char16_t kSchoolYear[] = u"Curso 2018/19";
inline constexpr char16_t kExplanation[] = u"Quimora se instalará en Mis Documentos.\rPero puede elegir otro lugar...";
inline constexpr char16_t kFolderDialogTitle[] = u"Seleccionar Carpeta ...";
inline constexpr char16_t kFolderCreationFailed[] = u"Imposible crear la carpeta.";
inline constexpr char16_t kProgramFile[] = u"QuimoraWindows18_19.exe";
inline constexpr char16_t kShortcutFile[] = u"QuimoraWindows18_19.lnk";

// The completion message, line by line; the installation folder follows
// kFolderLine.
inline constexpr char16_t kFinished[] = u"Instalación finalizada.";
inline constexpr char16_t kShortcutMade[] = u"Se ha creado un acceso directo\ren el escritorio.";
inline constexpr char16_t kShortcutFailed[] = u"No se ha podido crear el acceso directo en el escritorio.";
inline constexpr char16_t kShortcutNameLine[] = u"Nombre del acceso: ProgramaQuimora18_19";
inline constexpr char16_t kFolderLine[] = u"A la carpeta: ";
inline constexpr char16_t kProgramLine[] = u"Y a la aplicación: ";

// Shown instead of the completion message when entries could not be
// extracted: the missing count, then the selected count.
inline constexpr char16_t kIncomplete[] =
    u"La instalación no se ha completado: %d de %d elementos no se han podido instalar.";

// Shown at start, instead of the window, when the payload is not whole (a
// download cut short): nothing is written.
inline constexpr char16_t kPayloadDamaged[] = u"El instalador está dañado o incompleto. Vuelva a descargarlo.";

// Shown instead of installing when the payload does not fit on the volume:
// the megabytes needed, then the megabytes free.
inline constexpr char16_t kNoRoom[] =
    u"No hay espacio suficiente en el disco.\rSe necesitan %u MB y hay %u MB libres.";

// The uninstaller's texts: its title, the question, the report.
inline constexpr char16_t kUninstallerTitle[] = u"Desinstala el Quimora";
inline constexpr char16_t kUninstallQuestion[] = u"¿Desea desinstalar Quimora 18/19 de la carpeta %s?";
inline constexpr char16_t kUninstalled[] = u"Quimora 18/19 se ha desinstalado.";
inline constexpr char16_t kUninstallIncomplete[] =
    u"No se han podido eliminar %d archivos de Quimora 18/19.\rCierre el programa y vuelva a desinstalarlo.";

}  // namespace installer
