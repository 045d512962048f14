// Stands for the sample-database tool, which tools/run builds with the program (target
// alk_sample_db) so that the README's command after it finds it.
int main()
{
    return 0;
}
