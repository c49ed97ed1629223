// A library the second stand-in client depends on, as the real client depends on its security and
// core libraries: the loader must find it for the client to load.
extern "C" __attribute__((visibility("default"))) int kolmaraStandInDependency()
{
    return 1;
}
