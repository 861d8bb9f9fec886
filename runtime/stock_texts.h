// The runtime's stock messages. The runtime speaks French; the archive
// engine and the installer have texts of their own.
#pragma once

namespace rt {

inline constexpr char16_t kSReadError[] = u"Erreur de lecture du flux";
inline constexpr char16_t kSWriteError[] = u"Erreur d'écriture du flux";
inline constexpr char16_t kSFCreateErrorEx[] = u"Impossible de créer le fichier \"%s\". %s";
inline constexpr char16_t kSFOpenErrorEx[] = u"Impossible d'ouvrir le fichier \"%s\". %s";
inline constexpr char16_t kSCannotCreateDir[] = u"Impossible de créer le répertoire";
inline constexpr char16_t kSInvalidFormat[] = u"Format '%s' invalide ou incompatible avec l'argument";
inline constexpr char16_t kSAssignError[] = u"Impossible d'affecter un %s à un %s";
inline constexpr char16_t kSUnknownSystemError[] = u"Unspecified error (%d) from %s.";
inline constexpr char16_t kSListIndexError[] = u"Indice de liste hors limites (%d)";
inline constexpr char16_t kSResNotFound[] = u"Ressource %s introuvable";
inline constexpr char16_t kSOleError[] = u"Erreur OLE %.8X";
inline constexpr char16_t kSIntfNotSupported[] = u"Interface non supportée";
inline constexpr char16_t kSSystemLibraryMissing[] =
    u"Bibliothèque système %s introuvable dans le dossier système de Windows";
inline constexpr char16_t kSSystemFunctionMissing[] = u"Fonction %s introuvable dans la bibliothèque système %s";

// Captions of the message dialog, by kind, and of its buttons.
inline constexpr char16_t kSMsgDlgWarning[] = u"Avertissement";
inline constexpr char16_t kSMsgDlgError[] = u"Erreur";
inline constexpr char16_t kSMsgDlgInformation[] = u"Information";
inline constexpr char16_t kSMsgDlgConfirm[] = u"Confirmation";
inline constexpr char16_t kSMsgDlgYes[] = u"&Oui";
inline constexpr char16_t kSMsgDlgNo[] = u"&Non";
inline constexpr char16_t kSMsgDlgOK[] = u"OK";
inline constexpr char16_t kSMsgDlgCancel[] = u"Annuler";
inline constexpr char16_t kSMsgDlgAbort[] = u"&Abandonner";
inline constexpr char16_t kSMsgDlgRetry[] = u"&Réessayer";
inline constexpr char16_t kSMsgDlgIgnore[] = u"&Ignorer";
inline constexpr char16_t kSMsgDlgAll[] = u"&Tous";
inline constexpr char16_t kSMsgDlgNoToAll[] = u"Non à &tout";
inline constexpr char16_t kSMsgDlgYesToAll[] = u"Oui à t&out";
inline constexpr char16_t kSMsgDlgHelp[] = u"&Aide";

}  // namespace rt
