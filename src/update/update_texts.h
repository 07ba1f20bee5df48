#pragma once
// The update's words to the user, and the styles of its boxes.
#include <windows.h>

namespace update_texts {

constexpr UINT kQuestion = MB_YESNO | MB_ICONQUESTION;
constexpr UINT kNotice = MB_YESNO | MB_ICONINFORMATION;
constexpr UINT kInformation = MB_ICONINFORMATION;
constexpr UINT kError = MB_ICONERROR;

inline const char* const kAskConnect =
    "Soll eine Internetverbindung hergestellt, und nach einer \r\naktualisierten Version von ";
inline const char* const kAskConnectEnd = " gesucht werden?";
inline const char* const kNoInformation =
    "Es konnten keine Versionsinformationen vom Server empfangen werden. \r\n"
    "Bitte versuchen Sie es später noch einmal.";
inline const char* const kNoServer =
    "Für diese Programmversion ist kein Update-Server eingerichtet. \r\n"
    "Das Online-Update ist daher nicht verfügbar.";
inline const char* const kAlreadyNewest =
    "Sie benutzen bereits die aktuellste Version des Programms.";
inline const char* const kNewerStart = "Ihre Programmversion von ";
inline const char* const kNewerEnd =
    " ist nicht mehr aktuell! \r\nUm das Online-Update zu starten, klicken Sie bitte auf JA";
inline const char* const kSearching = "Es wird nach einer aktuellen Version gesucht ...";
inline const char* const kLoadingNotes = "Die Hinweise zum Update werden geladen ...";
inline const char* const kChoosingTarget =
    "Bitte wählen Sie, wo das Setup gespeichert werden soll.";
inline const char* const kDownloading = "Installationsdateien werden heruntergeladen...";
inline const char* const kOverwrite =
    "Eine Datei mit diesem Namen existiert bereits! \r\nSoll diese überschrieben werden?";
inline const char* const kFailed = "Update fehlgeschlagen. Bitte erneut versuchen!";
inline const char* const kDamaged =
    "Das heruntergeladene Setup ist beschädigt oder wurde unterwegs verändert. \r\n"
    "Es wurde gelöscht und wird nicht ausgeführt.";
inline const char* const kStartSetup =
    "Download abgeschlossen. \r\nSoll das heruntergeladene Setup nun ausgeführt werden?";
inline const char* const kCaptionEnd = " -Online-Update";
inline const char* const kNotVerified =
    "Die Versionsinformationen des Servers konnten nicht überprüft werden. \r\n"
    "Das Update wird deshalb nicht angeboten.";
inline const char* const kNotStarted = "Das heruntergeladene Setup konnte nicht gestartet werden.";
// Why a transfer failed, when the network is not to blame. Fixed texts: what a
// server sends or a URL holds is never shown in a box.
inline const char* const kInvalidAddress = "Die Adresse der Datei auf dem Server ist ungültig.";
inline const char* const kFileNotWritten =
    "Die Datei konnte nicht angelegt oder geschrieben werden.";
inline const char* const kNotesMissing = "Die Hinweise zum Update konnten nicht geladen werden.";

} // namespace update_texts
