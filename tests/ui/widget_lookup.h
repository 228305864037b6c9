// The window tests reach a window's controls by their object names: the windows keep their
// widgets private. A name that is missing stops the test program, naming what it looked for.
#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

namespace vd::test {

// The descendant of `parent` of type T named `name`.
template <class T>
T* child(const QObject& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr)
        qFatal("%s has no %s named \"%s\"", parent.metaObject()->className(),
               T::staticMetaObject.className(), name);
    return found;
}

}  // namespace vd::test
