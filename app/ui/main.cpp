// Tagwright: the editor of the tags of MPEG audio files.
#include "app/ui/App.h"

int main(int argc, char* argv[])
{
    return theApp.Run(argc, argv);
}
