#pragma once
int high();
