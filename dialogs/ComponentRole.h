#pragma once
// The role and Tag of a form's components, for the language captions.
//
// The language tables name components by Tag and change only components of
// seven caption-bearing roles of the form-and-control class library: label,
// button, check box, group box, tab sheet, speed button and menu item. Our
// components are Qt objects, so each one that plays such a role says so
// explicitly, with two dynamic properties set by DeclareComponent:
//
//   "scrRole"  the ComponentRole below (int); absent means None
//   "tag"      the Tag (int); absent means 0
//
// A component is captioned by its declared role only: a QLabel that shows a
// picture, a panel, an edit or any widget declared without a role (None) is
// never changed, whatever its Qt class. Every component that plays one of
// the seven roles must be declared, untagged ones included (Tag 0), because
// the key S_0 reaches exactly the untagged components of those roles.
//
// Role        Qt class                        caption written to
// Label       QLabel                          text (a lone '&' is dropped unless the label has a buddy)
// Button      QAbstractButton (QPushButton)   text
// CheckBox    QAbstractButton (QCheckBox)     text
// GroupBox    QGroupBox                       title
// TabSheet    QWidget (page)                  windowTitle, and the tab text when the page is in a QTabWidget
// SpeedButton QAbstractButton (QToolButton)   text
// MenuItem    QAction (or QMenu)              text (title of a QMenu)
//
// A component declared with a role its Qt class cannot carry is left unchanged.

#include <QString>

class QObject;

namespace scr {

enum class ComponentRole : int {
    None = 0,
    Label,
    Button,
    CheckBox,
    GroupBox,
    TabSheet,
    SpeedButton,
    MenuItem,
};

inline constexpr char kRoleProperty[] = "scrRole";
inline constexpr char kTagProperty[] = "tag";

// Declares a component's role and Tag.
void DeclareComponent(QObject* component, ComponentRole role, int tag = 0);
void SetComponentTag(QObject* component, int tag);

ComponentRole RoleOfComponent(const QObject* component);
int TagOfComponent(const QObject* component);

// Sets the caption of a component by its declared role. False, with nothing
// changed, for role None or a role its class cannot carry.
bool SetComponentCaption(QObject* component, const QString& caption);
// The caption as set by SetComponentCaption (for a label: its text), or an
// empty text for components without a caption.
QString ComponentCaption(const QObject* component);

// The label text for a caption: "&&" becomes "&" and a lone "&" is dropped,
// as a label without a mnemonic target shows it.
QString StripAccelerators(const QString& caption);

} // namespace scr
