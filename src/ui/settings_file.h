#pragma once

namespace velmor::ui {

// Points the program's settings (QSettings without arguments) at the file where Linux programs
// keep theirs, $XDG_CONFIG_HOME/velmor/velmor.conf (~/.config when unset), in a directory only
// the user may read. The first time, the settings that earlier versions kept under the
// framework's default name are copied in; that file is left as it is and not read again.
void UseVelmorSettingsFile();

}  // namespace velmor::ui
