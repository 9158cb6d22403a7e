#pragma once

// A component that finishes its set-up once its window's design description has been read
// completely (references to other components by name are resolved then).
class TComponent
{
public:
    virtual ~TComponent() = default;
    virtual void Loaded() = 0;
};
