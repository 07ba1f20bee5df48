#include "about/help_topics_rules.h"

#include <algorithm>
#include <array>

namespace {

// 11 and 12 are the about box's web and mail links; the menu's "Standard"
// item shares 11 with the web link, and only the link ever asks for a pop-up.
constexpr std::array kTopics = std::to_array<HelpTopic>({
    {1, "wecker.htm",
     "„Wecker...“ öffnet das Fenster, in dem Sie den Wecker einstellen: Weckzeit, Meldung, "
     "Wecksound und ob der Wecker an ist. Ein Doppelklick auf die Anzeige der Uhr öffnet es "
     "ebenfalls."},
    {2, "uhrstellen.htm",
     "„Uhr stellen...“ öffnet die Einstellungen von Windows für Datum und Uhrzeit. Tikkora zeigt "
     "immer die Uhrzeit des Computers; dort stellen Sie sie."},
    {3, "vordergrund.htm",
     "Ist „Immer im Vordergrund“ abgehakt, bleibt die Uhr über allen anderen Fenstern sichtbar. "
     "Ohne Haken können andere Fenster sie verdecken."},
    {4, "anzeige.htm",
     "Hier wählen Sie das Aussehen der Ziffern: LCD, beleuchtetes LCD, grüne oder rote LED, "
     "LED-Punktmatrix oder Klappziffern. Die Farben des Fensters und der Zeiger passen sich an."},
    {5, "hilfethemen.htm",
     "„Hilfethehmen“ öffnet das Inhaltsverzeichnis dieser Hilfe. Die Taste F1 auf der Uhr tut "
     "dasselbe."},
    {6, "info.htm",
     "„Info...“ zeigt das Info-Fenster mit der Version von Tikkora, den Nutzungsbedingungen und "
     "den Adressen des Herstellers. Escape oder das Kreuz oben rechts schließt es."},
    {7, "uhr.htm",
     "Das Fenster der Uhr zeigt die Uhrzeit, das Datum und die eingestellte Weckzeit. Mit der "
     "linken Maustaste verschieben Sie es, ein Doppelklick öffnet den Wecker, und die rechte "
     "Maustaste oder der kleine Pfeil unten links öffnet das Menü der Uhr."},
    {8, "analoguhr.htm",
     "Ist „Analoguhr“ abgehakt, zeigt die Uhr ein Zifferblatt mit Zeigern statt der Ziffern. In "
     "der Taskleiste steht die Analoguhr nicht zur Wahl."},
    {9, "mini.htm",
     "„Mini“ macht die Uhr zu einem kleinen Fenster, das nur die Uhrzeit zeigt. Mit „Standard“ "
     "wird sie wieder groß."},
    {10, "taskleiste.htm",
     "„In die Taskleiste“ setzt die Uhr in die Taskleiste, über die Uhr von Windows. Mit "
     "„Standard“ oder „Mini“ kommt sie wieder auf den Desktop."},
    {11, "internet.htm",
     "Die Internetseite des Herstellers. Ein Klick öffnet sie in Ihrem Webbrowser; dort finden Sie "
     "Neuigkeiten und neue Versionen von Tikkora."},
    {12, "email.htm",
     "Die E-Mail-Adresse des Herstellers. Ein Klick öffnet Ihr E-Mail-Programm mit einer neuen "
     "Nachricht an diese Adresse."},
    {31, "weckzeit.htm",
     "Die Uhrzeit, zu der der Wecker klingelt. Stunde und Minute stellen Sie mit den Pfeiltasten "
     "oder den Pfeilknöpfen ein."},
    {33, "aktiviert.htm",
     "Nur wenn „Aktiviert“ abgehakt ist, klingelt der Wecker zur Weckzeit. Die Weckzeit erscheint "
     "dann in der Anzeige der Uhr."},
    {34, "ok.htm",
     "Übernimmt und speichert die Einstellungen des Weckers und schließt das Fenster."},
    {35, "abbrechen.htm", "Schließt das Fenster, ohne die Änderungen zu übernehmen."},
    {36, "wecksound.htm",
     "Der Klang, den der Wecker spielt. Zur Wahl stehen die Wave-Dateien (*.wav) im Ordner von "
     "Tikkora; ein gewählter Klang ist sofort zur Probe zu hören."},
    {37, "deaktivieren.htm",
     "Ist dieses Feld abgehakt, schaltet sich der Wecker nach dem Klingeln selbst aus. Sonst "
     "klingelt er jeden Tag zur selben Zeit."},
    {38, "meldung.htm",
     "Der Text, den die Uhr beim Wecken anzeigt. Die Liste enthält die zuletzt verwendeten "
     "Meldungen."},
    {39, "meldungenloeschen.htm", "Leert die Liste der zuletzt verwendeten Meldungen."},
    {222, "schliessen.htm",
     "„Uhr schließen“ beendet Tikkora. Die Uhr merkt sich ihre Position und erscheint beim "
     "nächsten Start wieder dort."},
});

} // namespace

std::span<const HelpTopic> HelpTopics() {
    return kTopics;
}

const HelpTopic* FindHelpTopic(int context) {
    auto found = std::find_if(kTopics.begin(), kTopics.end(), [context](const HelpTopic& topic) {
        return topic.context == context;
    });
    return found != kTopics.end() ? &*found : nullptr;
}

std::string HelpPopupText(int context) {
    const HelpTopic* topic = FindHelpTopic(context);
    return topic ? topic->popup : kNoHelpText;
}

std::string MenuTopicPage(int context) {
    constexpr int kStandardItem = 11;
    if (context == kStandardItem) {
        return "standard.htm";
    }
    const HelpTopic* topic = FindHelpTopic(context);
    return topic ? topic->page : kHelpContentsPage;
}
