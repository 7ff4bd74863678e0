// The program's own pictures: the window icon and the about box's illustration,
// bare branching trees whose branches thin at every fork.
#pragma once

#include <QIcon>
#include <QImage>

// A dark red bare tree on a transparent 32 x 32 picture.
QImage IconBild();
QIcon ProgrammIcon();

// Several trees, black ones behind two green ones, 380 x 349 pixels.
QImage IllustrationsBild();
